# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# cmake -DSITE=DIR -DFILES=A;B;... -P site.cmake: writes the folder to publish. Its version is
# made from the files' contents, so a service worker that keeps the site knows when to take a
# new one; files named *.in get it filled in. Every file but the pictures also goes in precompressed (.gz, .br)
# for the web servers that send those as they are.

set(_hashes)
foreach(_file IN LISTS FILES)
  file(SHA256 ${_file} _hash)
  string(APPEND _hashes "${_hash}\n")
endforeach()
string(SHA256 LUMINAKU_SITE_VERSION "${_hashes}")
string(SUBSTRING ${LUMINAKU_SITE_VERSION} 0 16 LUMINAKU_SITE_VERSION)

file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})
foreach(_file IN LISTS FILES)
  get_filename_component(_name ${_file} NAME)
  if(_name MATCHES "\\.in$")
    string(REGEX REPLACE "\\.in$" "" _name ${_name})
    configure_file(${_file} ${SITE}/${_name} @ONLY)
  else()
    file(COPY ${_file} DESTINATION ${SITE})
  endif()
  # gzip without name or time stamp, Brotli at its best: the same files give the same bytes.
  # Pictures are compressed already.
  if(NOT _name MATCHES "\\.png$")
    execute_process(COMMAND gzip -9nk ${SITE}/${_name} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND brotli -q 11 --lgwin=24 -k ${SITE}/${_name} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
message(STATUS "The folder to publish, version ${LUMINAKU_SITE_VERSION}: ${SITE}")
