// velkarn, the desktop program.
#include "ui/app/velkarn_app.h"

int main(int argc, char** argv) {
    TVelkarnApp app(argc, argv);
    return app.Run();
}
