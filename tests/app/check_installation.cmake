# Installs the build into a fresh prefix and checks what the desktop needs from it: the templates
# in share/pixdraft, the icons, and a menu entry and metainfo file that their validators accept;
# and that the installed converter finds the installed templates from a folder without any.
# cmake -DBUILD_DIR=<build folder> -DPREFIX=<scratch folder> -DPICTURE=<a PNG>
#       -P check_installation.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(share "${PREFIX}/share")
foreach(file IN ITEMS
        bin/pixdraft
        bin/pixdraft-convert
        share/pixdraft/pixdraft.dx1
        share/pixdraft/pixdraft.dx2
        share/applications/pixdraft.desktop
        share/metainfo/example.korvane.pixdraft.metainfo.xml
        share/man/man1/pixdraft.1.gz
        share/man/man1/pixdraft-convert.1.gz
        share/icons/hicolor/16x16/apps/pixdraft.png
        share/icons/hicolor/24x24/apps/pixdraft.png
        share/icons/hicolor/32x32/apps/pixdraft.png
        share/icons/hicolor/48x48/apps/pixdraft.png
        share/icons/hicolor/256x256/apps/pixdraft.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

foreach(check IN ITEMS
        "desktop-file-validate;${share}/applications/pixdraft.desktop"
        "appstreamcli;validate;--no-net;${share}/metainfo/example.korvane.pixdraft.metainfo.xml")
  execute_process(COMMAND ${check} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${check} failed:\n${output}")
  endif()
endforeach()

# pixdraft-convert without --templates, from a folder that holds none: the DXF is framed by the
# installed header and footer.
set(work "${PREFIX}/work")
file(MAKE_DIRECTORY "${work}")
file(COPY_FILE "${PICTURE}" "${work}/picture.png")
execute_process(COMMAND "${PREFIX}/bin/pixdraft-convert" picture.png WORKING_DIRECTORY "${work}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "pixdraft-convert without --templates failed (${result}):\n${output}")
endif()
file(READ "${share}/pixdraft/pixdraft.dx1" header HEX)
file(READ "${share}/pixdraft/pixdraft.dx2" footer HEX)
file(READ "${work}/picture.dxf" drawing HEX)
string(LENGTH "${header}" header_length)
string(LENGTH "${footer}" footer_length)
string(LENGTH "${drawing}" drawing_length)
math(EXPR footer_start "${drawing_length} - ${footer_length}")
string(SUBSTRING "${drawing}" 0 ${header_length} drawing_header)
string(SUBSTRING "${drawing}" ${footer_start} ${footer_length} drawing_footer)
if(NOT drawing_header STREQUAL header OR NOT drawing_footer STREQUAL footer)
  message(FATAL_ERROR "picture.dxf is not framed by the installed templates")
endif()
