# The Windows build (mingw-w64 and the Qt kit of scripts/windows/build.sh): each program's icon,
# version and manifest, the window in the GUI subsystem, the templates beside the programs, and
# the folder that a user unpacks or installs, laid out by
#   cmake --install <build> --component windows --prefix <folder>
# with only what the programs load: Qt's DLLs and plugins they use, the compiler's runtime,
# Qt's French texts.
enable_language(RC)
set(windows_dir ${CMAKE_CURRENT_LIST_DIR})

# The icon, packed from the pictures data/icons/draw_icons.py draws.
set(icon_pictures)
foreach(size IN ITEMS 16 24 32 48 256)
  list(APPEND icon_pictures ${PROJECT_SOURCE_DIR}/data/icons/pixdraft-${size}.png)
endforeach()
set(windows_icon ${PROJECT_BINARY_DIR}/windows/pixdraft.ico)
add_custom_command(OUTPUT ${windows_icon}
                   COMMAND python3 ${windows_dir}/make_icon.py ${windows_icon} ${icon_pictures}
                   DEPENDS ${windows_dir}/make_icon.py ${icon_pictures})
add_custom_target(pixdraft_windows_icon DEPENDS ${windows_icon})

function(pixdraft_windows_resources target description)
  set(PIXDRAFT_RC_NAME ${target})
  set(PIXDRAFT_RC_FILE ${target}.exe)
  set(PIXDRAFT_RC_DESCRIPTION ${description})
  set(PIXDRAFT_RC_ICON ${windows_icon})
  set(PIXDRAFT_RC_MANIFEST ${windows_dir}/pixdraft.manifest)
  set(rc ${PROJECT_BINARY_DIR}/windows/${target}.rc)
  configure_file(${windows_dir}/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} pixdraft_windows_icon)
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
                              OBJECT_DEPENDS "${windows_icon};${windows_dir}/pixdraft.manifest")
endfunction()
pixdraft_windows_resources(pixdraft "PixDraft")
pixdraft_windows_resources(pixdraft-convert "PixDraft command-line converter")
pixdraft_windows_resources(pixdraft-decode "PixDraft picture decoder")
set_target_properties(pixdraft PROPERTIES WIN32_EXECUTABLE ON)

# Templates beside the programs, installed and in the build tree alike.
set_source_files_properties(src/app/template_folder.cpp DIRECTORY src/app PROPERTIES
                            COMPILE_DEFINITIONS PIXDRAFT_TEMPLATES_FROM_PROGRAM=".")
# (Qt's project setup puts every program and DLL in one folder on Windows.)
if(CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(programs_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
else()
  set(programs_dir ${PROJECT_BINARY_DIR}/src/app)
endif()
foreach(template IN ITEMS pixdraft.dx1 pixdraft.dx2)
  configure_file(${PROJECT_SOURCE_DIR}/templates/${template} ${programs_dir}/${template} COPYONLY)
endforeach()

# The folder. Plugins in their kinds' folders beside the programs, where Qt looks first.
install(TARGETS pixdraft pixdraft-convert pixdraft-decode RUNTIME DESTINATION . COMPONENT windows)
install(FILES templates/pixdraft.dx1 templates/pixdraft.dx2 ${windows_dir}/qt.conf
        DESTINATION . COMPONENT windows)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION . COMPONENT windows)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms
        COMPONENT windows)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles COMPONENT windows)
# GIF and icons decode through their plugins; JPEG through libjpeg, but Qt's plugin tells a JPEG.
install(FILES $<TARGET_FILE:Qt6::QGifPlugin> $<TARGET_FILE:Qt6::QICOPlugin>
              $<TARGET_FILE:Qt6::QJpegPlugin> DESTINATION imageformats COMPONENT windows)
# The compiler's runtime, which Qt's DLLs and the programs share.
set(mingw_runtime)
foreach(dll IN ITEMS libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}")
    message(FATAL_ERROR "The compiler does not know where ${dll} is")
  endif()
  cmake_path(NORMAL_PATH found)
  list(APPEND mingw_runtime ${found})
endforeach()
install(FILES ${mingw_runtime} DESTINATION . COMPONENT windows)
# Qt's own dialogs in French: Debian's qt6-translations-l10n, the same on every system.
set(PIXDRAFT_QT_FRENCH /usr/share/qt6/translations/qtbase_fr.qm CACHE FILEPATH
    "Qt's French catalogue")
install(FILES ${PIXDRAFT_QT_FRENCH} DESTINATION translations COMPONENT windows)

# The tests run as the programs do: with their manifest (UTF-8 as the code page).
configure_file(${windows_dir}/manifest.rc.in ${PROJECT_BINARY_DIR}/windows/manifest.rc @ONLY)
function(pixdraft_windows_manifest folder)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_sources(${target} PRIVATE ${PROJECT_BINARY_DIR}/windows/manifest.rc)
    endif()
  endforeach()
  get_property(folders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS folders)
    pixdraft_windows_manifest(${subfolder})
  endforeach()
endfunction()
if(BUILD_TESTING)
  pixdraft_windows_manifest(${PROJECT_SOURCE_DIR}/tests)
endif()
