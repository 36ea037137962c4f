# Installs the build into a scratch prefix and checks that a desktop finds
# everything there (cmake -DBUILD=<build dir> -DPREFIX=<scratch> -P ...).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
  bin/vt350 bin/vt350-cli bin/vt350-sim bin/vt350-xls
  share/applications/org.vt350.Vt350.desktop
  share/metainfo/org.vt350.Vt350.metainfo.xml
  share/mime/packages/org.vt350.Vt350.xml
  share/icons/hicolor/48x48/apps/org.vt350.Vt350.png
  share/icons/hicolor/256x256/apps/org.vt350.Vt350.png
  share/icons/hicolor/scalable/apps/org.vt350.Vt350.svg)
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The desktop file opens our documents with the program it installs.
file(READ ${PREFIX}/share/applications/org.vt350.Vt350.desktop desktop)
file(READ ${PREFIX}/share/mime/packages/org.vt350.Vt350.xml mime)
if(NOT desktop MATCHES "Exec=vt350 %f" OR NOT desktop MATCHES "MimeType=application/x-vt350-job;"
   OR NOT mime MATCHES "type=\"application/x-vt350-job\"" OR NOT mime MATCHES "\\*\\.vtd")
  message(FATAL_ERROR "the desktop file and the MIME type do not match")
endif()
file(REMOVE_RECURSE ${PREFIX})
