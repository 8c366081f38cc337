// A small X11 window with a given WM_CLASS for the follow test: prints its window id,
// then stays mapped until it is killed.
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: focus_window CLASS TITLE\n");
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) return 1;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const xcb_window_t window = xcb_generate_id(connection);
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 160, 120, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  // WM_CLASS is "instance\0class\0".
  const std::string wm_class = std::string(argv[1]) + '\0' + argv[1] + '\0';
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                      XCB_ATOM_STRING, 8, static_cast<uint32_t>(wm_class.size()), wm_class.data());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                      8, static_cast<uint32_t>(std::strlen(argv[2])), argv[2]);
  xcb_map_window(connection, window);
  xcb_flush(connection);
  std::printf("%u\n", window);
  std::fflush(stdout);
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) std::free(event);
  return 0;
}
