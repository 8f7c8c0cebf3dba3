# One case of the media manifest's checks (see CMakeLists.txt): CASE names it,
# WORK is a directory of its own, MODULE the manifest code.
cmake_minimum_required(VERSION 3.20)
include(${MODULE})
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(manifest ${WORK}/media.txt)
set(media ${WORK}/media)

set(text "password secret\na.bmp\nam.bmp\nsong.it   # the music\n")
set(rules ${media}/a.bmp ${media}/am.bmp ${media}/song.it)
if(CASE STREQUAL "unbuilt")
  string(APPEND text "extra.bmp\n")
elseif(CASE STREQUAL "unlisted")
  list(APPEND rules ${media}/stray.bmp)
elseif(CASE STREQUAL "built_twice")
  list(APPEND rules ${media}/a.bmp)
elseif(CASE STREQUAL "listed_twice")
  string(REPLACE "song.it" "a.bmp" text "${text}")
elseif(CASE STREQUAL "no_password")
  string(REPLACE "password secret\n" "" text "${text}")
elseif(CASE STREQUAL "bad_name")
  string(REPLACE "am.bmp" "sub/a.bmp" text "${text}")
endif()
file(WRITE ${manifest} "${text}")

zw_read_media_manifest(${manifest})
zw_check_media_rules(${manifest} "${ZW_MEDIA_NAMES}" "${rules}")
if(NOT CASE STREQUAL "good")
  message(FATAL_ERROR "case ${CASE}: the manifest was accepted")
endif()

# The good case: the lists and the header the program compiles.
if(NOT ZW_MEDIA_NAMES STREQUAL "a.bmp;am.bmp;song.it" OR NOT ZW_MEDIA_PASSWORD STREQUAL "secret"
   OR NOT ZW_MEDIA_PICTURES STREQUAL "a")
  message(FATAL_ERROR "read: names '${ZW_MEDIA_NAMES}', password '${ZW_MEDIA_PASSWORD}', "
    "pictures '${ZW_MEDIA_PICTURES}'")
endif()
zw_write_media_header(${WORK}/media_manifest.h "${ZW_MEDIA_NAMES}" "${ZW_MEDIA_PASSWORD}"
  "${ZW_MEDIA_PICTURES}")
file(READ ${WORK}/media_manifest.h header)
foreach(line
    "constexpr const char\\* archivePassword = \"secret\";"
    "constexpr std::size_t count = 3;"
    "    \"a.bmp\",\n    \"am.bmp\",\n    \"song.it\",\n"
    "constexpr const char\\* amBmp = \"am.bmp\";"
    "constexpr const char\\* songIt = \"song.it\";"
    "constexpr const char\\* pictures\\[pictureCount\\] = {\n    \"a\",\n};")
  if(NOT header MATCHES "${line}")
    message(FATAL_ERROR "the header lacks: ${line}\n${header}")
  endif()
endforeach()
message(STATUS "manifest ok")
