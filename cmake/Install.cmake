# Installation under CMAKE_INSTALL_PREFIX and the Debian package.
#
#   bin/ludora, bin/ldxtool
#   share/ludora/help/Ldhelp.html and its images/
#   share/applications/<id>.desktop, share/metainfo/<id>.metainfo.xml
#   share/mime/packages/<id>.xml
#   share/icons/hicolor/<size>/apps/<id>.png and scalable/apps/<id>.svg
#   share/doc/ludora/README.md
#
# The program finds its help document at <dir of the program>/../share/ludora/help, so it
# works from any prefix as long as the data folder sits beside the program's folder.

include(GNUInstallDirs)

set(LUDORA_APP_ID org.example.Ludora)
set(LUDORA_HELP_DIR ${CMAKE_INSTALL_DATADIR}/ludora/help)
set(LUDORA_ICON_SIZES 16 32 48 64 128 256)

if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
    message(WARNING "Ludora looks for its help document in <program dir>/../share/ludora/help; "
                    "with CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and "
                    "CMAKE_INSTALL_DATADIR=${CMAKE_INSTALL_DATADIR} Help > Contents will not "
                    "find it.")
endif()

# The help document's pictures, also beside the program in the build folder, so that
# Help > Contents shows them when run from there.
file(GLOB LUDORA_HELP_IMAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/help/images/*.png)
foreach(image IN LISTS LUDORA_HELP_IMAGES)
    get_filename_component(image_name ${image} NAME)
    configure_file(${image} ${CMAKE_BINARY_DIR}/images/${image_name} COPYONLY)
endforeach()

install(TARGETS ludora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET ldxtool)
    install(TARGETS ldxtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/docs/help/Ldhelp.html DESTINATION ${LUDORA_HELP_DIR})
install(FILES ${LUDORA_HELP_IMAGES} DESTINATION ${LUDORA_HELP_DIR}/images)

install(FILES ${PROJECT_SOURCE_DIR}/data/${LUDORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${LUDORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/${LUDORA_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# The monogram of the About box, in every size the icon theme asks for.
set(icon_dir ${PROJECT_SOURCE_DIR}/src/identity/icons)
foreach(size IN LISTS LUDORA_ICON_SIZES)
    install(FILES ${icon_dir}/ludora-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${LUDORA_APP_ID}.png)
endforeach()
install(FILES ${icon_dir}/ludora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${LUDORA_APP_ID}.svg)

if(EXISTS ${PROJECT_SOURCE_DIR}/README.md)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/ludora)
endif()

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ludora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Ludora developers")
set(CPACK_PACKAGE_CONTACT "The Ludora developers <ludora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keep the lists of the video games you own")
# The long description, in lines of less than 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Ludora keeps a collector's lists of video games, one list per game
console, on 25 tabs. It saves and opens the whole collection as one LDX
text file and prints the lists of the first three consoles. It comes
with ldxtool, which exports, imports, checks and prints collection files
from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# The libraries (Qt 6, the C++ runtime) come from dpkg-shlibdeps; Help > Contents and the
# home-page link open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
# The tab headers are drawn in Courier New, whose metrics Liberation Mono shares.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
