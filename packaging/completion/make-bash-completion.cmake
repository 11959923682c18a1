# Makes the bash completion of naadwerk-cli from its own --help and each
# command's (see ../helptext.cmake), so a new command or option completes
# without a change here:
#
#   cmake -DPROGRAM=path/naadwerk-cli -DOUTPUT=naadwerk-cli -P make-bash-completion.cmake
#
# An option's value completes by its value name: "<a|b|c>" to its choices,
# "<dir>" to folders, "<file>" and "<list>" to file names, and any other (a
# number: "<ms>", "<n>") to nothing. Words that are no option's value
# complete to the command's options after a "-", else to file names.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../helptext.cmake)

get_filename_component(program_name "${PROGRAM}" NAME)
read_help(MAIN "${PROGRAM}" --help)

set(first_words "${MAIN_COMMANDS}")
foreach(i IN LISTS MAIN_OPTIONS)
  list(APPEND first_words ${MAIN_OPTION_${i}_NAMES})
endforeach()
list(JOIN first_words " " first_words)

set(option_cases "")
set(value_cases "")
foreach(command IN LISTS MAIN_COMMANDS)
  read_help(COMMAND "${PROGRAM}" ${command} --help)
  set(options "")
  foreach(i IN LISTS COMMAND_OPTIONS)
    set(names "${COMMAND_OPTION_${i}_NAMES}")
    list(APPEND options ${names})
    set(value "${COMMAND_OPTION_${i}_VALUE}")
    if(value STREQUAL "")
      continue()
    endif()
    list(TRANSFORM names PREPEND "${command}\\ ")
    list(JOIN names "|" pattern)
    if(value MATCHES "^<(.*\\|.*)>$")
      string(REPLACE "|" " " choices "${CMAKE_MATCH_1}")
      set(reply "mapfile -t COMPREPLY < <(compgen -W '${choices}' -- \"$cur\")")
    elseif(value STREQUAL "<dir>")
      set(reply "compopt -o filenames; mapfile -t COMPREPLY < <(compgen -d -- \"$cur\")")
    elseif(value MATCHES "^<(file|list)>$")
      set(reply "compopt -o filenames; mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")")
    else()
      set(reply "COMPREPLY=()")
    endif()
    string(APPEND value_cases "        ${pattern}) ${reply}; return ;;\n")
  endforeach()
  list(JOIN options " " options)
  string(APPEND option_cases "        ${command}) options='${options}' ;;\n")
endforeach()

file(WRITE "${OUTPUT}" "# bash completion for ${program_name}: its commands, their options, the
# values of an option (its choices, folders or file names) and file names.
# Made at build time from the program's own help by make-bash-completion.cmake.
_naadwerk_cli()
{
    local cur=\${COMP_WORDS[COMP_CWORD]} prev=\${COMP_WORDS[COMP_CWORD - 1]}
    # --option=value: bash splits it at the equals sign.
    if [ \"\$cur\" = = ]; then
        cur=''
    elif [ \"\$prev\" = = ]; then
        prev=\${COMP_WORDS[COMP_CWORD - 2]}
    fi
    if [ \"\$COMP_CWORD\" -eq 1 ]; then
        mapfile -t COMPREPLY < <(compgen -W '${first_words}' -- \"\$cur\")
        return
    fi
    local command=\${COMP_WORDS[1]} options=''
    case \"\$command \$prev\" in
${value_cases}    esac
    case \$command in
${option_cases}        *) return ;;
    esac
    if [[ \$cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W \"\$options\" -- \"\$cur\")
    else
        compopt -o filenames
        mapfile -t COMPREPLY < <(compgen -f -- \"\$cur\")
    fi
}
complete -F _naadwerk_cli ${program_name}
")
