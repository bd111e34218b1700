// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

// A run-time error of the game, carried as an exception out of the handler that raised it.
// The application object catches it, tells the player and ends the program.
class RuntimeError : public std::runtime_error
{
public:
    enum Code : int { InvalidArgument = 5, Overflow = 6 };

    RuntimeError(Code code, const std::string &message) : std::runtime_error(message), m_code(code)
    {
    }
    Code code() const { return m_code; }

    static RuntimeError overflow();
    static RuntimeError invalidArgument();

private:
    Code m_code;
};
