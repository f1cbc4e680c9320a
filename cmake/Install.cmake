# `cmake --install` and `cpack -G DEB`: Brelix as one folder of its own, with the files it
# finds beside itself, and two links on the PATH. The executables find that folder through
# the links, as the kernel reports their real path.
include(GNUInstallDirs)
set(BRELIX_INSTALL_DIR "lib/brelix" CACHE STRING
    "The program's folder, relative to the installation prefix")

set(bin_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
# The office's private libraries are found through the path the linker wrote into the
# programs (cmake/LibreOfficeSdk.cmake); installing drops only the build folder's own entries.
install(TARGETS brelix brelix-cli RUNTIME DESTINATION ${BRELIX_INSTALL_DIR})
install(FILES ${bin_dir}/Brelix_Format.xls ${bin_dir}/Brelix.html ${bin_dir}/Brelix_en.html
              ${BRELIX_QM_FILES} DESTINATION ${BRELIX_INSTALL_DIR})
install(DIRECTORY ${bin_dir}/images ${bin_dir}/テストデータ DESTINATION ${BRELIX_INSTALL_DIR})

# Relative links, so that any prefix and a package's staging folder work alike.
cmake_path(RELATIVE_PATH BRELIX_INSTALL_DIR BASE_DIRECTORY ${CMAKE_INSTALL_BINDIR}
           OUTPUT_VARIABLE link_target)
set(link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${link_dir})
foreach(program brelix brelix-cli)
  file(CREATE_LINK ${link_target}/${program} ${link_dir}/${program} SYMBOLIC)
  install(FILES ${link_dir}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES resources/desktop/brelix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/desktop/brelix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${BRELIX_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brelix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brelix developers")
set(CPACK_PACKAGE_CONTACT "Brelix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare, search and batch-print spreadsheet workbooks")
set(CPACK_PACKAGE_DESCRIPTION
    "Brelix compares two workbooks cell by cell and lists the differing cells in a change-history
workbook, searches a text through the cells of many workbooks, and prints many workbooks in
one go. It drives a private LibreOffice Calc instance and leaves the results open in it. It
reads .xls, .xlsx, .ods and .csv files. brelix-cli runs the same jobs from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# What the programs link (the office's UNO libraries among them) and the office they drive.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libgcc-s1, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libxcb1, zlib1g, libuno-cppu3, libuno-cppuhelpergcc3-3, libuno-sal3, libreoffice-calc")
# The windows and the printed pages are in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
include(CPack)
