// Must fail to build: the logic library never sees Qt Widgets.
#include <QtWidgets/QWidget>
int probe() { return 0; }
