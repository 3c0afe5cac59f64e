# The Wayland end-to-end test's own programs: a GTK 3 drag source and a
# virtual pointer for wlroots compositors.
find_package(PkgConfig REQUIRED)
pkg_check_modules(Gtk3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(WaylandClient REQUIRED IMPORTED_TARGET wayland-client)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
add_subdirectory(tools/gtk_drag_source)
add_subdirectory(tools/wayland_pointer)
