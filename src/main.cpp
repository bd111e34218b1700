#include "shell/Application.h"
#include "shell/Forms.h"
#include "windows/frmOpening.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    Forms::show<frmOpening>();
    return app.exec();
}
