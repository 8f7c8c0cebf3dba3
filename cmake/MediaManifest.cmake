# The media manifest, assets/media.txt: the one place that names the media set.
# Every other list of the names (the program's, the packing rule's, the tests')
# is made from it here, at configure time.
#
#   zw_read_media_manifest(FILE)
#     sets ZW_MEDIA_NAMES (in the program's order), ZW_MEDIA_PASSWORD and
#     ZW_MEDIA_PICTURES (the NAME of every NAME.bmp + NAMEm.bmp pair)
#   zw_check_media_rules(FILE NAMES RULE_OUTPUTS)
#     stops with an error naming every listed file that nothing builds, every
#     built file that is not listed, and every file built twice
#   zw_write_media_header(OUT NAMES PASSWORD PICTURES)
#     writes the C++ header with the same facts (rewritten only when they change)

# Letters, digits, '.', '_' and '-', starting with a letter: a file name in the
# current directory and, turned into lower camel case, a C++ name.
set(ZW_MEDIA_NAME_PATTERN "^[A-Za-z][A-Za-z0-9._-]*$")

function(zw_read_media_manifest file)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "${file}: the media manifest is missing")
  endif()
  file(STRINGS "${file}" lines)
  set(names "")
  set(password "")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(line MATCHES "^password[ \t]+([^ \t]+)$")
      if(NOT password STREQUAL "")
        message(FATAL_ERROR "${file}:${number}: a second password line")
      endif()
      set(password "${CMAKE_MATCH_1}")
    elseif(NOT line MATCHES "${ZW_MEDIA_NAME_PATTERN}")
      message(FATAL_ERROR "${file}:${number}: '${line}' is not a media file name "
        "(letters, digits, '.', '_', '-', starting with a letter)")
    elseif(line IN_LIST names)
      message(FATAL_ERROR "${file}:${number}: '${line}' is listed twice")
    else()
      list(APPEND names "${line}")
    endif()
  endforeach()
  if(names STREQUAL "")
    message(FATAL_ERROR "${file}: no media file is listed")
  endif()
  if(password STREQUAL "")
    message(FATAL_ERROR "${file}: no 'password WORD' line for the archive")
  endif()
  set(pictures "")
  foreach(name IN LISTS names)
    string(REGEX REPLACE "\\.bmp$" "" stem "${name}")
    if(NOT stem STREQUAL name AND "${stem}m.bmp" IN_LIST names)
      list(APPEND pictures "${stem}")
    endif()
  endforeach()
  set(ZW_MEDIA_NAMES "${names}" PARENT_SCOPE)
  set(ZW_MEDIA_PASSWORD "${password}" PARENT_SCOPE)
  set(ZW_MEDIA_PICTURES "${pictures}" PARENT_SCOPE)
endfunction()

# `rule_outputs` are the full paths the assets' build rules write.
function(zw_check_media_rules file names rule_outputs)
  set(built "")
  set(problems "")
  foreach(path IN LISTS rule_outputs)
    get_filename_component(name "${path}" NAME)
    if(name IN_LIST built)
      list(APPEND problems "'${name}' is built by two rules")
    elseif(NOT name IN_LIST names)
      list(APPEND problems "'${name}' is built but not listed in ${file}")
    endif()
    list(APPEND built "${name}")
  endforeach()
  foreach(name IN LISTS names)
    if(NOT name IN_LIST built)
      list(APPEND problems "'${name}' is listed in ${file} but nothing in assets/ builds it")
    endif()
  endforeach()
  if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The media set does not match its manifest:\n  ${text}")
  endif()
endfunction()

# "qzlogom.bmp" -> "qzlogomBmp": the name's parts joined in lower camel case.
function(zw_media_identifier name out)
  string(REGEX REPLACE "[._-]+" ";" parts "${name}")
  list(POP_FRONT parts identifier)
  foreach(part IN LISTS parts)
    string(SUBSTRING "${part}" 0 1 first)
    string(SUBSTRING "${part}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    string(APPEND identifier "${first}${rest}")
  endforeach()
  set(${out} "${identifier}" PARENT_SCOPE)
endfunction()

function(zw_write_media_header out names password pictures)
  set(list_items "")
  set(constants "")
  foreach(name IN LISTS names)
    zw_media_identifier("${name}" identifier)
    string(APPEND list_items "    \"${name}\",\n")
    string(APPEND constants "constexpr const char* ${identifier} = \"${name}\";\n")
  endforeach()
  set(picture_items "")
  foreach(picture IN LISTS pictures)
    string(APPEND picture_items "    \"${picture}\",\n")
  endforeach()
  list(LENGTH names count)
  list(LENGTH pictures picture_count)
  set(text "// Made by the build from assets/media.txt: change that file, not this one.
#pragma once

#include <cstddef>

namespace media {

// The archive's password.
constexpr const char* archivePassword = \"${password}\";

// Every media file, in the order they are extracted and deleted.
constexpr std::size_t count = ${count};
constexpr const char* names[count] = {
${list_items}};

// Each file by name, so that a misspelt or unlisted one does not compile.
${constants}
// The pictures: NAME.bmp and its mask NAMEm.bmp, for each NAME here.
constexpr std::size_t pictureCount = ${picture_count};
constexpr const char* pictures[pictureCount] = {
${picture_items}};

}  // namespace media
")
  file(WRITE "${out}.new" "${text}")
  configure_file("${out}.new" "${out}" COPYONLY)
  file(REMOVE "${out}.new")
endfunction()
