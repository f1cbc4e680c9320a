# Converts files with one headless office launch:
#   cmake -DSOFFICE=<soffice> -DPROFILE=<dir> -DOUTDIR=<dir> -P ConvertWorkbooks.cmake
#         -- <format> <source>...
# The office exits with 0 even when it could not load or store a file, so the outputs are
# checked here; old ones are removed first so that a failed run cannot pass on them.
set(args)
set(after_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_separator)
    list(APPEND args "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()
list(POP_FRONT args format)
if(NOT format OR NOT args)
  message(FATAL_ERROR "usage: -P ConvertWorkbooks.cmake -- <format> <source>...")
endif()
string(REGEX REPLACE ":.*" "" extension "${format}")

set(outputs)
foreach(source IN LISTS args)
  get_filename_component(stem "${source}" NAME_WE)
  list(APPEND outputs "${OUTDIR}/${stem}.${extension}")
endforeach()
file(REMOVE ${outputs})
file(MAKE_DIRECTORY "${OUTDIR}")

# A private profile keeps the build away from the user's own office, which may be running,
# and from a missing or read-only home folder (root in CI).
string(REPLACE "%" "%25" profile_url "${PROFILE}")
string(REPLACE " " "%20" profile_url "${profile_url}")
execute_process(
  COMMAND "${SOFFICE}" --headless --norestore --nologo --nodefault
          "-env:UserInstallation=file://${profile_url}"
          --convert-to "${format}" --outdir "${OUTDIR}" ${args}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log
  TIMEOUT 300)

set(missing)
foreach(output IN LISTS outputs)
  if(NOT EXISTS "${output}")
    list(APPEND missing "${output}")
  endif()
endforeach()
if(NOT result EQUAL 0 OR missing)
  list(JOIN missing "\n  " missing_text)
  message(FATAL_ERROR "${SOFFICE} failed (${result}); not written:\n  ${missing_text}\n${log}")
endif()
