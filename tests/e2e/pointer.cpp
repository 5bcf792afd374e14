// A pointer for the Wayland tests: a virtual pointer (zwlr_virtual_pointer_v1)
// on the compositor's seat, which the headless compositor lacks.
//   vyr-test-pointer move DX DY   one pixel of motion (the pointer enters), then DX DY more
//   vyr-test-pointer click        one pixel of motion, then a left click
#include <linux/input-event-codes.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "virtual-pointer.h"

static wl_seat* Seat;
static zwlr_virtual_pointer_manager_v1* Manager;

static void global(void*, wl_registry* r, uint32_t name, const char* interface, uint32_t)
{
    if (strcmp(interface, wl_seat_interface.name) == 0)
        Seat = static_cast<wl_seat*>(wl_registry_bind(r, name, &wl_seat_interface, 1));
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        Manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
static void globalRemove(void*, wl_registry*, uint32_t) {}
static const wl_registry_listener LISTENER = {global, globalRemove};

int main(int argc, char** argv)
{
    bool click = argc == 2 && strcmp(argv[1], "click") == 0;
    if (!click && !(argc == 4 && strcmp(argv[1], "move") == 0)) {
        fputs("usage: vyr-test-pointer move DX DY | click\n", stderr);
        return 2;
    }
    wl_display* d = wl_display_connect(nullptr);
    if (!d) return 1;
    wl_registry_add_listener(wl_display_get_registry(d), &LISTENER, nullptr);
    wl_display_roundtrip(d);
    if (!Seat || !Manager) {
        fputs("vyr-test-pointer: no virtual-pointer manager\n", stderr);
        return 1;
    }
    zwlr_virtual_pointer_v1* p = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(Manager, Seat);
    wl_display_roundtrip(d);
    usleep(1000000);  // clients see the seat's new pointer and ask for it
    zwlr_virtual_pointer_v1_motion(p, 1, wl_fixed_from_int(1), 0);
    zwlr_virtual_pointer_v1_frame(p);
    wl_display_roundtrip(d);
    usleep(300000);
    if (click) {
        zwlr_virtual_pointer_v1_button(p, 2, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
        zwlr_virtual_pointer_v1_frame(p);
        zwlr_virtual_pointer_v1_button(p, 3, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        zwlr_virtual_pointer_v1_motion(p, 2, wl_fixed_from_int(atoi(argv[2])), wl_fixed_from_int(atoi(argv[3])));
    }
    zwlr_virtual_pointer_v1_frame(p);
    wl_display_roundtrip(d);
    usleep(300000);  // the events reach the clients before the device goes
    zwlr_virtual_pointer_v1_destroy(p);
    wl_display_disconnect(d);
    return 0;
}
