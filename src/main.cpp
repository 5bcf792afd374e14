// VYR entry point: everything lives in the core library.
#include "app/startup.h"

int main(int argc, char** argv)
{
    return vyrMain(argc, argv);
}
