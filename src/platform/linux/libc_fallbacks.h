// What a program that carries its own C++ runtime (the Linux release) would otherwise
// ask of a newer C library than glibc 2.34.
//
// The runtime, as the compiler here ships it, was built against glibc 2.36 and calls
// two functions older C libraries lack: the exception unwinder finds a piece of
// code's unwind tables with _dl_find_object (glibc 2.35), and std::random_device can
// draw from arc4random (glibc 2.36). Neither can be avoided: every program that uses
// exceptions links both parts. In a program linked with
// -Wl,--wrap=_dl_find_object,--wrap=arc4random (zw_link_cxx_runtime_statically) the
// runtime calls the two functions below instead, built on calls every glibc has.
#pragma once

#include <dlfcn.h>

#include <cstdint>

// Fills in the mapping of the loaded object that holds `address` and its
// exception-handling frame table (dlfo_eh_frame, null when it has none), and
// answers 0; -1 when no loaded object holds `address`. dlfo_link_map is left null
// (the unwinder does not read it).
extern "C" int __wrap__dl_find_object(void* address, dl_find_object* result);

// 32 random bits from the system's entropy (getentropy); throws std::system_error
// when the system has none to give, as random_device's own getentropy source does.
extern "C" std::uint32_t __wrap_arc4random();
