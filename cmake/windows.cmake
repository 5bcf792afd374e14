# Windows build (cross-built by scripts/build-windows): GLUT is the static
# freeglut that the script installs into build-windows/deps, under the target
# name the rest of the build uses.
find_package(FreeGLUT CONFIG REQUIRED)
add_library(GLUT::GLUT INTERFACE IMPORTED)
target_link_libraries(GLUT::GLUT INTERFACE FreeGLUT::freeglut_static)

# Release executables without their symbol tables: vyr.scr is handed to users.
add_link_options($<$<CONFIG:Release>:-s>)

# The resources of vyr.scr (data/windows/vyr.rc.in), built by windres.
enable_language(RC)
function(vyr_windows_resources target)
  set(VYR_DATA ${CMAKE_SOURCE_DIR}/data)
  set(VYR_WINDOWS_SHARE ${CMAKE_BINARY_DIR}/share)
  configure_file(${VYR_DATA}/windows/vyr.manifest.in ${VYR_WINDOWS_SHARE}/vyr.manifest @ONLY)
  configure_file(${VYR_DATA}/windows/vyr.rc.in ${VYR_WINDOWS_SHARE}/vyr.rc @ONLY)
  target_sources(${target} PRIVATE ${VYR_WINDOWS_SHARE}/vyr.rc)
  set_source_files_properties(${VYR_WINDOWS_SHARE}/vyr.rc PROPERTIES
    OBJECT_DEPENDS "${VYR_DATA}/icons/vyr.ico;${VYR_WINDOWS_SHARE}/vyr.manifest")
endfunction()

# The installer, vyr-setup.exe (data/windows/vyr.nsi), where makensis is
# installed (scripts/build-windows installs it).
find_program(MAKENSIS makensis)
function(vyr_windows_installer target)
  if(NOT MAKENSIS)
    message(STATUS "makensis not found: no vyr-setup.exe")
    return()
  endif()
  set(nsi ${CMAKE_SOURCE_DIR}/data/windows/vyr.nsi)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/vyr-setup.exe
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION}
            -DFILE_VERSION=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0 -DSCR=$<TARGET_FILE:${target}>
            -DICON=${CMAKE_SOURCE_DIR}/data/icons/vyr.ico -DOUTFILE=${CMAKE_BINARY_DIR}/vyr-setup.exe ${nsi}
    DEPENDS ${target} ${nsi} ${CMAKE_SOURCE_DIR}/data/icons/vyr.ico
    COMMENT "Making the installer vyr-setup.exe")
  add_custom_target(vyr-setup ALL DEPENDS ${CMAKE_BINARY_DIR}/vyr-setup.exe)
endfunction()
