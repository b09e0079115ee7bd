#pragma once

#include <QString>

// Registers the document type with the desktop the freedesktop way, under $XDG_DATA_HOME (by
// default ~/.local/share): a MIME package for "Tavlo Document" (*.qrf), a desktop entry whose
// open command hands files to the running editor, a thumbnailer for file managers, and the icons.
// That is for an editor run from where it was built. An installed editor, the program that a
// desktop entry in the system's data folders ($XDG_DATA_DIRS) runs, writes nothing there: the
// system's entries are its package's to keep. It only takes away the user's entries that name a
// program which no longer exists, left by an editor run from a build folder since removed.
// Files are rewritten only when their content changes; the desktop databases are refreshed when
// their tools exist. Failures are harmless and ignored. Returns the folder it wrote under, or an
// empty string when it wrote nothing.
QString RegisterShellFileTypes(const QString& executable);
