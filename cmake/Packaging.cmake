# What a release installs besides the programs, and the Debian package made of it with CPack:
#   cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DBRENNIX_PACKAGE=ON
#   cmake --build build-package && (cd build-package && cpack)   # or scripts/package
# The package's dependencies are computed from the programs (dpkg-shlibdeps), not typed here.

include(GNUInstallDirs)

set(resources ${PROJECT_SOURCE_DIR}/resources)
# Debian keeps a package's documents under its package name, in lower case.
set(doc_folder ${CMAKE_INSTALL_DATADIR}/doc/brennix)
install(FILES ${resources}/brennix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${resources}/brennix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${resources}/completion/brennix-cli ${resources}/completion/brennix-sim
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Manual pages and the changelog go in compressed, as Debian expects them.
find_program(GZIP gzip REQUIRED)
set(compressed_folder ${CMAKE_BINARY_DIR}/compressed)
function(brennix_install_compressed source destination)
    get_filename_component(name ${source} NAME)
    set(output ${compressed_folder}/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${compressed_folder}
        COMMAND ${GZIP} -9nc ${source} > ${output}
        DEPENDS ${source} VERBATIM)
    add_custom_target(compress_${name} ALL DEPENDS ${output})
    install(FILES ${output} DESTINATION ${destination})
endfunction()
foreach(page brennix.1 brennix-cli.1 brennix-sim.1)
    brennix_install_compressed(${resources}/${page} ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
brennix_install_compressed(${resources}/changelog ${doc_folder})
install(FILES ${resources}/copyright DESTINATION ${doc_folder})

# The icon at the usual sizes, rendered from the one drawing.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}/brennix.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${resources}/brennix.svg
        DEPENDS ${resources}/brennix.svg VERBATIM)
    add_custom_target(icon_${size} ALL DEPENDS ${png})
    install(FILES ${png}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brennix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Ostrel")
set(CPACK_PACKAGE_CONTACT "Brennix developers <brennix@ostrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "field utility for Ostrel acoustic Doppler current meters")
set(CPACK_PACKAGE_DESCRIPTION
    "Brennix talks to Ostrel current meters (the Mirovan and its relatives)\n"
    "on a serial line: a terminal with history and a log file, command files,\n"
    "one-tap commands, instrument setup and deployment, recorder download and\n"
    "format, compass calibration and live beam diagnostics. It includes\n"
    "brennix-cli, the same on the console, and brennix-sim, an instrument\n"
    "simulator on a pseudo-terminal. Serial ports need the user in the dialout\n"
    "group.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
