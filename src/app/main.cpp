// kubrell: the desktop editor.
#include "app/Kubrell.h"

int main(int argc, char** argv) {
    CKubrell app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
