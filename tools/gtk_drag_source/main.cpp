// tolvane-gtk-drag-source FILE...
// The drag source of a GTK 3 file manager, for the Wayland end-to-end tests:
// a 200x100 window titled "drag-source"; pressing the left button in it and
// moving the pointer drags FILE... as a text/uri-list (and as plain text),
// for Copy or Move, Copy preferred. Once the drag is over (on Wayland: once
// the target has finished with the data) it prints the action the target
// chose ("copy", "move", "link" or "ignore"), and stays open until it is
// ended, so that where the focus went can still be seen.
// Paths are taken as raw bytes; relative ones are made absolute.
#include <gtk/gtk.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/uri_list.h"

namespace {

struct DragState {
    std::string uri_list;
    bool failed = false;
};

const char* ActionName(GdkDragAction action) {
    switch (action) {
        case GDK_ACTION_COPY:
            return "copy";
        case GDK_ACTION_MOVE:
            return "move";
        case GDK_ACTION_LINK:
            return "link";
        default:
            return "ignore";
    }
}

void OnDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* selection, guint, guint,
               gpointer data) {
    const std::string& list = static_cast<DragState*>(data)->uri_list;
    // The exact bytes, whichever of the two types was asked for.
    gtk_selection_data_set(selection, gtk_selection_data_get_target(selection), 8,
                           reinterpret_cast<const guchar*>(list.data()),
                           static_cast<gint>(list.size()));
}

gboolean OnFailed(GtkWidget*, GdkDragContext*, GtkDragResult, gpointer data) {
    static_cast<DragState*>(data)->failed = true;
    return TRUE;  // no animation of the icon flying back
}

void OnEnd(GtkWidget*, GdkDragContext* context, gpointer data) {
    const bool failed = static_cast<DragState*>(data)->failed;
    std::printf("%s\n",
                failed ? "ignore" : ActionName(gdk_drag_context_get_selected_action(context)));
    std::fflush(stdout);
}

std::vector<std::string> AbsolutePaths(int argc, char** argv) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path(argv[i]);
        if (path.is_relative()) path = std::filesystem::current_path() / path;
        paths.push_back(path.native());
    }
    return paths;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    DragState state{tolvane::UriListFromPaths(AbsolutePaths(argc, argv))};
    gtk_init(nullptr, nullptr);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "drag-source");
    gtk_window_set_default_size(GTK_WINDOW(window), 200, 100);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

    GtkWidget* area = gtk_event_box_new();
    gtk_container_add(GTK_CONTAINER(window), area);
    GtkTargetEntry targets[] = {{const_cast<gchar*>("text/uri-list"), 0, 0},
                                {const_cast<gchar*>("text/plain;charset=utf-8"), 0, 1}};
    gtk_drag_source_set(area, GDK_BUTTON1_MASK, targets, G_N_ELEMENTS(targets),
                        static_cast<GdkDragAction>(GDK_ACTION_COPY | GDK_ACTION_MOVE));
    g_signal_connect(area, "drag-data-get", G_CALLBACK(OnDataGet), &state);
    g_signal_connect(area, "drag-failed", G_CALLBACK(OnFailed), &state);
    g_signal_connect(area, "drag-end", G_CALLBACK(OnEnd), &state);

    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
