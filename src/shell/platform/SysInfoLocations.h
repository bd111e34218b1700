// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

// Where the registry keeps the system-information tool, under HKEY_LOCAL_MACHINE.
namespace platform::sysinfo
{
// The tool's full path.
inline constexpr const char *ToolKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
inline constexpr const char *ToolValue = "PATH";
// The folder that holds the tool.
inline constexpr const char *FolderKey = R"(SOFTWARE\Microsoft\Shared Tools Location)";
inline constexpr const char *FolderValue = "MSINFO";
// Appended to that folder.
inline constexpr const char *ToolFileSuffix = R"(\MSINFO32.EXE)";
} // namespace platform::sysinfo
