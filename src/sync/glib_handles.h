#pragma once
// Owned GLib values: a GObject reference dropped, a string or an error freed, when the
// handle goes. Only the desktop address book's files include this (it brings GLib's headers).

#include <glib-object.h>

#include <memory>

namespace vellix::glib {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <class T>
using Object = std::unique_ptr<T, ObjectUnref>;

struct Free {
    void operator()(gpointer memory) const { g_free(memory); }
};
using Chars = std::unique_ptr<gchar, Free>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

// The error's text, or `fallback` when there is none.
inline const char* messageOf(const ErrorPtr& error, const char* fallback = "unknown error") {
    return error && error->message ? error->message : fallback;
}

}  // namespace vellix::glib
