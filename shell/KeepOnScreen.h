#pragma once

class QWidget;

// Fits a top-level window, its frame included, into the free part of the screen it is on (or of
// the first screen when it is on none): moved inside first, and made smaller only where it is
// larger than that part. A place or size kept from another screen or another scale factor would
// otherwise leave part of the window out of reach.
void KeepOnScreen(QWidget& window);
