# What `cmake --install` puts in place and how CPack packs it.
#
# Linux: an FHS tree under any prefix. The executables go to games/ when the
# prefix is /usr (Debian policy), else to bin/; the choice is made when the
# tree is installed, so `cmake --install --prefix` relocates it whole.
# Windows: one flat folder with the executables, README and LICENSE.

set(DROVANE_APP_ID io.github.drovane.Drovane3D)
set(DROVANE_MAINTAINER "The Drovane 3D authors <drovane3d@users.noreply.github.com>")
set(DROVANE_SUMMARY "Push a ball around a checkered floor while chasers hunt it")
# Without the game only drovane-sim is installed, and nothing is packed.
if(NOT DROVANE_GAME)
  install(TARGETS drovane-sim)
  return()
endif()

set(pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(pkg_out ${PROJECT_BINARY_DIR}/packaging)

if(WIN32)
  install(TARGETS drovane3d drovane-sim RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
else()
  include(GNUInstallDirs)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/drovane3d)

  install(CODE [[
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
      set(DROVANE_GAME_DIR games)
    else()
      set(DROVANE_GAME_DIR bin)
    endif()
  ]])
  install(TARGETS drovane3d drovane-sim RUNTIME DESTINATION "\${DROVANE_GAME_DIR}")

  # The desktop entry names the installed game by its full path, so it
  # starts whatever PATH the session has.
  install(CODE "configure_file(${pkg_src}/${DROVANE_APP_ID}.desktop.in
                               ${pkg_out}/${DROVANE_APP_ID}.desktop @ONLY)")
  install(FILES ${pkg_out}/${DROVANE_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(DIRECTORY ${DROVANE_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

  configure_file(${pkg_src}/${DROVANE_APP_ID}.metainfo.xml.in
                 ${pkg_out}/${DROVANE_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${pkg_out}/${DROVANE_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # Manual pages and the changelog, compressed as Debian wants (-n: no time
  # stamp, so the package is reproducible).
  set(gzipped "")
  foreach(file drovane3d.6 drovane-sim.1 changelog)
    configure_file(${pkg_src}/${file}.in ${pkg_out}/${file} @ONLY)
    add_custom_command(OUTPUT ${pkg_out}/${file}.gz
                       COMMAND gzip -9nf -k ${pkg_out}/${file}
                       DEPENDS ${pkg_out}/${file} VERBATIM)
    list(APPEND gzipped ${pkg_out}/${file}.gz)
  endforeach()
  add_custom_target(drovane_docs ALL DEPENDS ${gzipped})
  install(FILES ${pkg_out}/drovane3d.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${pkg_out}/drovane-sim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
                ${pkg_src}/copyright ${pkg_out}/changelog.gz
          DESTINATION ${doc_dir})
endif()

set(CPACK_PACKAGE_NAME drovane3d)
set(CPACK_PACKAGE_VENDOR "The Drovane 3D authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${DROVANE_SUMMARY})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# CPack's DEB generator takes its times from SOURCE_DATE_EPOCH; ZIP and NSIS
# take them from the staged files, which this sets to that time.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DrovaneStagedTimes.cmake)

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Drovane 3D")
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Drovane 3D")
  set(CPACK_PACKAGE_EXECUTABLES drovane3d "Drovane 3D")
  set(CPACK_NSIS_PACKAGE_NAME "Drovane 3D")
  set(CPACK_NSIS_DISPLAY_NAME "Drovane 3D")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_INSTALLED_ICON_NAME drovane3d.exe)
  set(CPACK_NSIS_MUI_ICON ${DROVANE_ICON_DIR}/drovane.ico)
  set(CPACK_NSIS_MUI_UNIICON ${DROVANE_ICON_DIR}/drovane.ico)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # Wine here runs 64-bit programs only; Debian's makensis has amd64
  # stubs. The target must be chosen before the compressor, which CMake's
  # own template sets first, so ours is that template with the target on top.
  file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_template)
  # It opens with a UTF-8 byte order mark, which must stay first.
  string(FIND "${nsis_template}" ";" first_line)
  string(SUBSTRING "${nsis_template}" 0 ${first_line} bom)
  string(SUBSTRING "${nsis_template}" ${first_line} -1 nsis_template)
  # makensis stores the time of every file it packs, and CPack writes
  # NSIS.InstallOptions.ini just before: give it the staged files' time
  # (SOURCE_DATE_EPOCH, see DrovaneStagedTimes.cmake) so the installer is
  # the same bytes each time.
  set(reserve_ini "  ReserveFile \"NSIS.InstallOptions.ini\"")
  string(FIND "${nsis_template}" "${reserve_ini}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "CMake's NSIS template no longer reserves NSIS.InstallOptions.ini")
  endif()
  string(REPLACE "${reserve_ini}"
    "  !system 'touch -r \"\${INST_DIR}\" \"\${__FILEDIR__}/NSIS.InstallOptions.ini\"' = 0\n${reserve_ini}"
    nsis_template "${nsis_template}")
  file(WRITE ${pkg_out}/nsis/NSIS.template.in "${bom}Target amd64-unicode\n${nsis_template}")
  list(PREPEND CPACK_MODULE_PATH ${pkg_out}/nsis)
else()
  set(CPACK_GENERATOR DEB)
  # DESTDIR staging under /usr whatever this build's prefix, so the install
  # rules see the prefix the package really lands in.
  set(CPACK_SET_DESTDIR ON)
  set(CPACK_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DROVANE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # CPack would name the machine it runs on; a cross build (arm64 on amd64)
  # packs for the architecture it built for.
  if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
    find_program(DROVANE_DPKG_ARCHITECTURE dpkg-architecture)
    if(NOT DROVANE_DPKG_ARCHITECTURE OR NOT CMAKE_LIBRARY_ARCHITECTURE)
      message(FATAL_ERROR "a cross-built .deb needs dpkg-architecture (dpkg-dev) and a "
        "toolchain file that sets CMAKE_LIBRARY_ARCHITECTURE")
    endif()
    execute_process(
      COMMAND ${DROVANE_DPKG_ARCHITECTURE} -q DEB_HOST_ARCH -t ${CMAKE_LIBRARY_ARCHITECTURE}
      OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
      message(FATAL_ERROR "dpkg-architecture knows no Debian architecture for ${CMAKE_LIBRARY_ARCHITECTURE}")
    endif()
  endif()
  # CPack puts the summary first.
  set(CPACK_PACKAGE_DESCRIPTION "A small interactive 3-D toy: one window, a checkered floor and 256 spheres.
Push your green sphere with the arrow keys while the camera follows it;
the other spheres drift and shove each other, and red chasers steer at
yours. Includes drovane-sim, a headless replay tool that prints the whole
simulation state.")
endif()
include(CPack)
