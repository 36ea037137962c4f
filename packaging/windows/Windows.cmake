# Windows: the programs with their icon, the Qt, ICU, zip, FreeXL and MinGW
# runtime libraries they load, and an NSIS installer (cpack -G NSIS).
set(VT350_ICO ${CMAKE_CURRENT_SOURCE_DIR}/windows/vt350.ico)
foreach(target vt350 vt350-cli)
  if(target STREQUAL vt350)
    set(VT350_DESCRIPTION "Vt350 label program")
  else()
    set(VT350_DESCRIPTION "Vt350 label program, command line")
  endif()
  configure_file(windows/vt350.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endforeach()

set(VT350_WIN_SDK "" CACHE PATH "Windows libraries built by scripts/windows/toolchain.sh")
install(TARGETS vt350 vt350-cli vt350-xls RUNTIME DESTINATION .)
install(FILES ${VT350_WIN_SDK}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${VT350_WIN_SDK}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${PROJECT_SOURCE_DIR}/src/resources/fonts/LICENSE-Liberation.txt DESTINATION .)

# The libraries the programs and plugins load, found the way Windows finds
# them, from the SDK and the MinGW runtime. What none of those folders holds is
# part of Windows and stays out.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE mingw_cxx_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(mingw_gcc_dir ${mingw_cxx_dll} DIRECTORY)
set(VT350_DLL_DIRS ${VT350_WIN_SDK}/bin ${VT350_WIN_SDK}/lib ${mingw_gcc_dir} /usr/x86_64-w64-mingw32/lib
    CACHE INTERNAL "")
set(VT350_DLL_DIRS_GLOB "")
foreach(dir ${VT350_DLL_DIRS})
  list(APPEND VT350_DLL_DIRS_GLOB ${dir}/*.dll)
endforeach()
install(CODE "
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${CMAKE_OBJDUMP})
  file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES $<TARGET_FILE:vt350> $<TARGET_FILE:vt350-cli> $<TARGET_FILE:vt350-xls>
    LIBRARIES ${VT350_WIN_SDK}/plugins/platforms/qwindows.dll ${VT350_WIN_SDK}/plugins/styles/qwindowsvistastyle.dll
    DIRECTORIES ${VT350_DLL_DIRS}
    RESOLVED_DEPENDENCIES_VAR found
    UNRESOLVED_DEPENDENCIES_VAR system)
  # Names are compared in lower case, as Windows does; a file such as
  # Qt6Core.dll is then not found on this case-sensitive system. Those are
  # looked up again without regard to case.
  file(GLOB ours LIST_DIRECTORIES false ${VT350_DLL_DIRS_GLOB})
  foreach(dll \${system})
    foreach(candidate \${ours})
      get_filename_component(name \${candidate} NAME)
      string(TOLOWER \${name} name)
      if(name STREQUAL dll)
        list(APPEND found \${candidate})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES found)
  foreach(dll \${found})
    file(INSTALL \${dll} DESTINATION \${CMAKE_INSTALL_PREFIX})
  endforeach()
")

set(CPACK_GENERATOR NSIS)
# Values reach the installer's script as they are written here.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME vt350)
set(CPACK_PACKAGE_VENDOR "Vt350 label program developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}.0)
set(CPACK_PACKAGE_FILE_NAME vt350-${PROJECT_VERSION}.0-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Prepare cable and wire marks and print them on the Vt350 printer")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vt350")
set(CPACK_NSIS_DISPLAY_NAME "Vt350 label program")
set(CPACK_NSIS_PACKAGE_NAME "Vt350 label program")
set(CPACK_NSIS_MUI_ICON ${VT350_ICO})
set(CPACK_NSIS_MUI_UNIICON ${VT350_ICO})
# The installer's script is our own (windows/NSIS.template.in): for all users
# or for the user alone, the Start menu entry, the .vtd association and an
# uninstaller that takes away what its install added.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/windows)
# A 64-bit installer for a 64-bit program.
set(CPACK_NSIS_EXECUTABLE ${CMAKE_CURRENT_SOURCE_DIR}/windows/makensis-amd64)
include(CPack)
