# Reads a program's --help as QCommandLineParser writes it (and as
# naadwerk-cli's and naadwerk's own help texts are laid out): a "Usage:" line,
# a description, and the sections "Options:", "Arguments:" and "Commands:".
# The manual pages and the bash completion are made from it, so they list
# every command and option the program has.
#
# read_help(PREFIX PROGRAM [ARGS...]) runs PROGRAM ARGS and sets, in the
# caller's scope:
#   PREFIX_USAGE         what follows "Usage: " and the program's path
#   PREFIX_DESCRIPTION   the lines before the first section, joined
#   PREFIX_OPTIONS       indexes 0..N-1 of the options; for each index I:
#   PREFIX_OPTION_I_NAMES  the names ("-o;--output"), PREFIX_OPTION_I_VALUE its
#                          value ("<file>", empty for none), PREFIX_OPTION_I_HELP
#   PREFIX_ARGUMENTS     the same for the arguments that have a description:
#   PREFIX_ARGUMENT_I_NAME, PREFIX_ARGUMENT_I_HELP
#   PREFIX_COMMANDS      the commands' names; PREFIX_COMMAND_<name>_HELP
# Texts keep ";", "[" and "]" as the tokens <sc>, <lb>, <rb> and "\" as <bs>
# (CMake lists would break them); help_text() gives the plain text back.

function(help_text out text)
  string(REPLACE "<sc>" ";" text "${text}")
  string(REPLACE "<lb>" "[" text "${text}")
  string(REPLACE "<rb>" "]" text "${text}")
  string(REPLACE "<bs>" "\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

macro(_help_append var text)
  if("${${var}}" STREQUAL "")
    set(${var} "${text}")
  else()
    set(${var} "${${var}} ${text}")
  endif()
endmacro()

function(read_help prefix program)
  execute_process(COMMAND "${program}" ${ARGN}
    OUTPUT_VARIABLE text RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${program} ${ARGN} ended with ${status}: ${errors}")
  endif()
  string(REPLACE "\\" "<bs>" text "${text}")
  string(REPLACE ";" "<sc>" text "${text}")
  string(REPLACE "[" "<lb>" text "${text}")
  string(REPLACE "]" "<rb>" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")

  set(section description)
  set(usage "")
  set(description "")
  set(options "")
  set(arguments "")
  set(commands "")
  set(option -1)
  set(argument -1)
  set(command "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^Usage: [^ ]+ ?(.*)$")
      set(usage "${CMAKE_MATCH_1}")
    elseif(line STREQUAL "Options:")
      set(section options)
    elseif(line STREQUAL "Arguments:")
      set(section arguments)
    elseif(line STREQUAL "Commands:")
      set(section commands)
    elseif(line STREQUAL "")
      if(section STREQUAL "description" AND NOT description STREQUAL "")
        set(section after-description)
      endif()
    elseif(section STREQUAL "description")
      _help_append(description "${line}")
    elseif(section STREQUAL "options")
      if(line MATCHES "^  (-[^ ,]*(, -[^ ,]*)*)( (<[^>]*>))?( +(.*))?$")
        math(EXPR option "${option} + 1")
        list(APPEND options ${option})
        string(REPLACE ", " ";" names "${CMAKE_MATCH_1}")
        set(${prefix}_OPTION_${option}_NAMES "${names}" PARENT_SCOPE)
        set(${prefix}_OPTION_${option}_VALUE "${CMAKE_MATCH_4}" PARENT_SCOPE)
        set(help_${option} "${CMAKE_MATCH_6}")
      elseif(line MATCHES "^   +(.*)$" AND option GREATER -1)
        _help_append(help_${option} "${CMAKE_MATCH_1}")
      endif()
    elseif(section STREQUAL "arguments")
      if(line MATCHES "^  ([^ ]+)( +(.*))?$")
        math(EXPR argument "${argument} + 1")
        set(argument_name_${argument} "${CMAKE_MATCH_1}")
        set(argument_help_${argument} "${CMAKE_MATCH_3}")
      elseif(line MATCHES "^   +(.*)$" AND argument GREATER -1)
        _help_append(argument_help_${argument} "${CMAKE_MATCH_1}")
      endif()
    elseif(section STREQUAL "commands")
      if(line MATCHES "^  ([^ ]+) +(.*)$")
        set(command "${CMAKE_MATCH_1}")
        list(APPEND commands ${command})
        set(command_help_${command} "${CMAKE_MATCH_2}")
      elseif(line MATCHES "^   +(.*)$" AND NOT command STREQUAL "")
        _help_append(command_help_${command} "${CMAKE_MATCH_1}")
      endif()
    endif()
  endforeach()

  foreach(i IN LISTS options)
    set(${prefix}_OPTION_${i}_HELP "${help_${i}}" PARENT_SCOPE)
  endforeach()
  # An argument without a description is the command's own name, which
  # QCommandLineParser lists as a positional argument.
  set(described "")
  if(argument GREATER -1)
    foreach(i RANGE ${argument})
      if(NOT argument_help_${i} STREQUAL "")
        list(LENGTH described n)
        list(APPEND described ${n})
        set(${prefix}_ARGUMENT_${n}_NAME "${argument_name_${i}}" PARENT_SCOPE)
        set(${prefix}_ARGUMENT_${n}_HELP "${argument_help_${i}}" PARENT_SCOPE)
      endif()
    endforeach()
  endif()
  foreach(c IN LISTS commands)
    set(${prefix}_COMMAND_${c}_HELP "${command_help_${c}}" PARENT_SCOPE)
  endforeach()
  set(${prefix}_USAGE "${usage}" PARENT_SCOPE)
  set(${prefix}_DESCRIPTION "${description}" PARENT_SCOPE)
  set(${prefix}_OPTIONS "${options}" PARENT_SCOPE)
  set(${prefix}_ARGUMENTS "${described}" PARENT_SCOPE)
  set(${prefix}_COMMANDS "${commands}" PARENT_SCOPE)
endfunction()
