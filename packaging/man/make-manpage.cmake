# Makes a manual page from the program's own --help (see ../helptext.cmake),
# so that it always lists every command and option:
#
#   cmake -DPROGRAM=path -DTEMPLATE=page.1.in -DOUTPUT=page.1 -DVERSION=x.y -P make-manpage.cmake
#
# The template is roff with these placeholders: @VERSION@, @DATE@ (the
# build's date, or SOURCE_DATE_EPOCH's for a reproducible package),
# @DESCRIPTION@, @OPTIONS@, @ARGUMENTS@ (from PROGRAM --help) and @COMMANDS@
# (a subsection for each command of a "Commands:" list, from
# PROGRAM COMMAND --help).
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../helptext.cmake)

# Text to roff: a "-" that starts an option is a minus sign (\-), as are the
# hyphens inside the option's name; backslashes are printed as such.
function(roff out text)
  string(REPLACE "<bs>" "\\e" text "${text}")
  string(REGEX REPLACE "(^|[^A-Za-z0-9\\\\])-" "\\1\\\\-" text "${text}")
  string(REGEX REPLACE "(^|[^A-Za-z0-9\\\\])-" "\\1\\\\-" text "${text}")
  set(before "")
  while(NOT before STREQUAL text)
    set(before "${text}")
    string(REGEX REPLACE "(\\\\-[A-Za-z0-9]+)-([A-Za-z])" "\\1\\\\-\\2" text "${text}")
  endwhile()
  # Each sentence on a line of its own, and no line longer than 78
  # characters: roff then spaces sentences as sentences.
  string(REGEX REPLACE "([.:]) +([A-Z])" "\\1\n\\2" text "${text}")
  string(REPLACE "\n" ";" sentences "${text}")
  set(lines "")
  foreach(sentence IN LISTS sentences)
    string(REPLACE " " ";" words "${sentence}")
    set(line "")
    foreach(word IN LISTS words)
      string(LENGTH "${line} ${word}" length)
      if(line STREQUAL "")
        set(line "${word}")
      elseif(length GREATER 78)
        list(APPEND lines "${line}")
        set(line "${word}")
      else()
        string(APPEND line " ${word}")
      endif()
    endforeach()
    list(APPEND lines "${line}")
  endforeach()
  set(text "")
  foreach(line IN LISTS lines)
    help_text(line "${line}")
    # A line that starts with a dot or an apostrophe would be a request.
    if(line MATCHES "^[.']")
      set(line "\\&${line}")
    endif()
    string(APPEND text "${line}\n")
  endforeach()
  string(REGEX REPLACE "\n$" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(option_list out prefix)
  set(page "")
  foreach(i IN LISTS ${prefix}_OPTIONS)
    set(names "")
    foreach(name IN LISTS ${prefix}_OPTION_${i}_NAMES)
      roff(name "${name}")
      list(APPEND names "\\fB${name}\\fR")
    endforeach()
    list(JOIN names ", " head)
    if(NOT ${prefix}_OPTION_${i}_VALUE STREQUAL "")
      string(APPEND head " \\fI${${prefix}_OPTION_${i}_VALUE}\\fR")
    endif()
    roff(help "${${prefix}_OPTION_${i}_HELP}")
    string(APPEND page ".TP\n${head}\n${help}\n")
  endforeach()
  set(${out} "${page}" PARENT_SCOPE)
endfunction()

function(argument_list out prefix)
  set(page "")
  foreach(i IN LISTS ${prefix}_ARGUMENTS)
    roff(name "${${prefix}_ARGUMENT_${i}_NAME}")
    roff(help "${${prefix}_ARGUMENT_${i}_HELP}")
    string(APPEND page ".TP\n\\fI${name}\\fR\n${help}\n")
  endforeach()
  set(${out} "${page}" PARENT_SCOPE)
endfunction()

get_filename_component(program_name "${PROGRAM}" NAME)
string(REPLACE "-" "\\-" program_roff "${program_name}")
read_help(MAIN "${PROGRAM}" --help)
roff(DESCRIPTION "${MAIN_DESCRIPTION}")
option_list(OPTIONS MAIN)
argument_list(ARGUMENTS MAIN)

set(COMMANDS "")
foreach(command IN LISTS MAIN_COMMANDS)
  read_help(COMMAND "${PROGRAM}" ${command} --help)
  # "[options] glue FILE" (the command is a positional argument to Qt) is
  # written as one types it: "naadwerk-cli glue [options] FILE".
  set(rest "${COMMAND_USAGE}")
  string(REGEX REPLACE "^<lb>options<rb> " "" rest "${rest}")
  string(REGEX REPLACE "^${command} ?" "" rest "${rest}")
  roff(rest "${rest}")
  roff(summary "${MAIN_COMMAND_${command}_HELP}")
  roff(description "${COMMAND_DESCRIPTION}")
  option_list(command_options COMMAND)
  argument_list(command_arguments COMMAND)
  string(APPEND COMMANDS ".SS ${command}\n"
    "\\fB${program_roff} ${command}\\fR [\\fIoptions\\fR]")
  if(NOT rest STREQUAL "")
    string(APPEND COMMANDS " \\fI${rest}\\fR")
  endif()
  string(APPEND COMMANDS "\n.PP\n${summary}\n${description}\n.PP\nOptions:\n"
    "${command_options}")
  if(NOT command_arguments STREQUAL "")
    string(APPEND COMMANDS ".PP\nArguments:\n${command_arguments}")
  endif()
endforeach()

string(TIMESTAMP DATE "%Y-%m-%d" UTC)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
