#include "reading/application.h"

int main(int argc, char *argv[])
{
    return vellara::runApplication(argc, argv);
}
