#include "app/StickerApp.h"

int main(int argc, char** argv) {
    bp::CStickerApp app;
    return app.InitInstance(argc, argv);
}
