#pragma once

#include <QString>

// Registers the document type with the desktop the freedesktop way, under $XDG_DATA_HOME (by
// default ~/.local/share): a MIME package for "Tavlo Document" (*.qrf), a desktop entry whose
// open command hands files to the running editor, a thumbnailer for file managers, and the icons. Files are rewritten
// only when their content changes; the desktop databases are refreshed when their tools exist. Failures are harmless
// and ignored. Returns the folder it wrote under.
QString RegisterShellFileTypes(const QString& executable);
