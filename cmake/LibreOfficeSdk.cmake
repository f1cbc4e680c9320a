# The LibreOffice SDK as Debian ships it: base headers and link libraries, but no generated
# com/sun/star headers. brelix_uno_headers() runs cppumaker at build time for just the UNO
# types a target uses.
set(LIBREOFFICE_PROGRAM_DIR "/usr/lib/libreoffice/program" CACHE PATH "LibreOffice program folder")
set(LIBREOFFICE_SDK_DIR "/usr/lib/libreoffice/sdk" CACHE PATH "LibreOffice SDK folder")

find_program(CPPUMAKER cppumaker HINTS ${LIBREOFFICE_SDK_DIR}/bin REQUIRED NO_DEFAULT_PATH)
find_program(SOFFICE soffice HINTS ${LIBREOFFICE_PROGRAM_DIR} /usr/bin REQUIRED)
set(LIBREOFFICE_TYPE_DBS ${LIBREOFFICE_PROGRAM_DIR}/types.rdb ${LIBREOFFICE_PROGRAM_DIR}/types/offapi.rdb)

add_library(LibreOfficeUno INTERFACE)
target_include_directories(LibreOfficeUno SYSTEM INTERFACE ${LIBREOFFICE_SDK_DIR}/include)
target_compile_definitions(LibreOfficeUno INTERFACE LINUX UNX GCC CPPU_ENV=gcc3
                           LIBREOFFICE_PROGRAM_DIR="${LIBREOFFICE_PROGRAM_DIR}")
target_link_directories(LibreOfficeUno INTERFACE ${LIBREOFFICE_SDK_DIR}/lib)
target_link_libraries(LibreOfficeUno INTERFACE uno_cppu uno_cppuhelpergcc3 uno_sal uno_salhelpergcc3)
# The office's private libraries live only in its program folder.
target_link_options(LibreOfficeUno INTERFACE "LINKER:-rpath,${LIBREOFFICE_PROGRAM_DIR}"
                    "LINKER:--disable-new-dtags")

function(brelix_uno_headers target)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/uno-headers)
  set(stamp ${out}/.stamp)
  set(type_args)
  foreach(t IN LISTS ARGN)
    list(APPEND type_args -T${t})
  endforeach()
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${out}
    COMMAND ${CPPUMAKER} -Gc -O${out} ${type_args} ${LIBREOFFICE_TYPE_DBS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Generating UNO headers for ${target}"
    VERBATIM)
  add_custom_target(${target}_uno_headers DEPENDS ${stamp})
  add_dependencies(${target} ${target}_uno_headers)
  target_include_directories(${target} SYSTEM PUBLIC ${out})
endfunction()
