#include "windows/frmOpening.h"
#include "shell/Application.h"
#include "shell/Forms.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    Forms::show<frmOpening>();
    return app.exec();
}
