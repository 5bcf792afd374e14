# Windows build (cross-built by scripts/build-windows): GLUT is the static
# freeglut that the script installs into build-windows/deps, under the target
# name the rest of the build uses.
find_package(FreeGLUT CONFIG REQUIRED)
add_library(GLUT::GLUT INTERFACE IMPORTED)
target_link_libraries(GLUT::GLUT INTERFACE FreeGLUT::freeglut_static)

# Release executables without their symbol tables: vyr.scr is handed to users.
add_link_options($<$<CONFIG:Release>:-s>)
