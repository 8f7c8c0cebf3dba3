// The capture's report: what a run produced, one tab-separated record per line, for
// people and for tests that drive the show through the capture.
//
//   capture  <fps as ticks/ticks>  <scale>
//   png      <frame>  <clock time>  <path>
//   box      <caption>  <text>  <ok|yesno>  <ok|yes|no>   (texts as UTF-8, escaped)
//   frames   <frames drawn on the clock>
//   seconds  <clock time of the last frame>
//   interrupted  <0|1>
//   exit     <the program's exit code>
//
// In texts a tab, a line feed, a carriage return and a backslash are written as
// \t, \n, \r and \\.
#pragma once

#include <string>

// `text` with the four characters above escaped.
std::string escapeReportField(const std::string& text);
