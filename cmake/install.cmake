# Installs the programs and what a Linux desktop looks for beside them, and packs them for Debian.
#
# Configure with -DCMAKE_INSTALL_PREFIX=/usr for a package: the package installs where the build
# was told it would be installed, since the help alert names the installed manual's path.

set(VELQ_APP_ID org.example.Velquorantisphaeron)
set(VELQ_PACKAGE velquorantisphaeron)
include(GNUInstallDirs)
# Debian keeps a package's documents under its own, lower-case name; -DCMAKE_INSTALL_DOCDIR wins.
if("$CACHE{CMAKE_INSTALL_DOCDIR}" STREQUAL "")
  set(CMAKE_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/${VELQ_PACKAGE}")
  GNUInstallDirs_get_absolute_install_dir(CMAKE_INSTALL_FULL_DOCDIR CMAKE_INSTALL_DOCDIR DOCDIR)
endif()

set(velq_packaging "${PROJECT_SOURCE_DIR}/packaging")
set(velq_docs "${PROJECT_SOURCE_DIR}/docs")
set(velq_made "${PROJECT_BINARY_DIR}/installed")

target_compile_definitions(velq_gui PUBLIC
  VELQ_MANUAL_ADDRESS="file://${CMAKE_INSTALL_FULL_DOCDIR}/manual.html")

install(TARGETS velquorantisphaeron velq-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES "${velq_packaging}/${VELQ_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${velq_packaging}/${VELQ_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${velq_packaging}/${VELQ_APP_ID}.mime.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${VELQ_APP_ID}.xml)
install(FILES "${velq_packaging}/${VELQ_APP_ID}.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The icon's bitmaps for the hicolor theme, drawn from the SVG at build time.
set(velq_made_files)
find_program(VELQ_RSVG_CONVERT rsvg-convert)
if(VELQ_RSVG_CONVERT)
  foreach(size 16 22 24 32 48 64 128 256 512)
    set(dir "${velq_made}/icons/${size}x${size}")
    set(png "${dir}/${VELQ_APP_ID}.png")
    add_custom_command(OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
      COMMAND ${VELQ_RSVG_CONVERT} -w ${size} -h ${size} -o "${png}"
              "${velq_packaging}/${VELQ_APP_ID}.svg"
      DEPENDS "${velq_packaging}/${VELQ_APP_ID}.svg" VERBATIM)
    list(APPEND velq_made_files "${png}")
    install(FILES "${png}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the icon is installed as SVG only")
endif()

# The manual and the formats as HTML pages beside their Markdown text.
find_program(VELQ_CMARK cmark-gfm)
if(NOT VELQ_CMARK)
  message(WARNING "cmark-gfm not found: the HTML manual shows the Markdown text")
endif()
foreach(doc manual formats distributed)
  set(html "${velq_made}/doc/${doc}.html")
  add_custom_command(OUTPUT "${html}"
    COMMAND ${CMAKE_COMMAND} -DCMARK=${VELQ_CMARK} -DINPUT=${velq_docs}/${doc}.md
            -DOUTPUT=${html} -P "${PROJECT_SOURCE_DIR}/cmake/markdown-page.cmake"
    DEPENDS "${velq_docs}/${doc}.md" "${PROJECT_SOURCE_DIR}/cmake/markdown-page.cmake" VERBATIM)
  list(APPEND velq_made_files "${html}")
  install(FILES "${html}" "${velq_docs}/${doc}.md" DESTINATION ${CMAKE_INSTALL_DOCDIR})
endforeach()
install(DIRECTORY "${velq_docs}/images" DESTINATION ${CMAKE_INSTALL_DOCDIR}
        FILES_MATCHING PATTERN "*.png")

# Man pages and the changelog compressed as Debian wants them: gzip -9, no name, no time.
find_program(VELQ_GZIP gzip REQUIRED)
function(velq_gzipped source made destination)
  set(plain "${velq_made}/${made}")
  add_custom_command(OUTPUT "${plain}.gz"
    COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${plain}"
    COMMAND ${VELQ_GZIP} -9nf "${plain}"
    DEPENDS "${source}" VERBATIM)
  set(velq_made_files ${velq_made_files} "${plain}.gz" PARENT_SCOPE)
  install(FILES "${plain}.gz" DESTINATION ${destination})
endfunction()
velq_gzipped("${velq_docs}/velquorantisphaeron.1" man/velquorantisphaeron.1
             ${CMAKE_INSTALL_MANDIR}/man1)
velq_gzipped("${velq_docs}/velq-render.1" man/velq-render.1 ${CMAKE_INSTALL_MANDIR}/man1)
velq_gzipped("${velq_packaging}/changelog" doc/changelog ${CMAKE_INSTALL_DOCDIR})
install(FILES "${velq_packaging}/copyright" DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Debian's documentation index learns of the manual from this entry.
configure_file("${velq_packaging}/doc-base.in" "${velq_made}/doc-base/${VELQ_PACKAGE}-manual" @ONLY)
install(FILES "${velq_made}/doc-base/${VELQ_PACKAGE}-manual" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base)

add_custom_target(velq_installed_files ALL DEPENDS ${velq_made_files})

# The Debian package: cpack -G DEB in a build configured for /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VELQ_PACKAGE})
set(CPACK_PACKAGE_VENDOR "The Velquorantisphaeron developers")
set(CPACK_PACKAGE_CONTACT "The Velquorantisphaeron developers <velquorantisphaeron@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "explorer of the Mandelbrot set")
set(CPACK_PACKAGE_DESCRIPTION
    "Velquorantisphaeron draws the Mandelbrot set on all processor cores and lets
you explore it: drag a square around a new centre, zoom by menu or key, step
through the history, or pick one of 50 places from the gallery. Colours change
with a few buttons and a slider. Views are saved as parameter files or as PNG
pictures that carry their view and open again.
.
velq-render renders the same pictures without a window, for batch posters,
thumbnails and benchmarks.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velquorantisphaeron.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its X11 platform plugin at run time, where no linker sees it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
