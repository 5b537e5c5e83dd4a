#include "lineaapp.h"

int main(int argc, char **argv) {
    return RunLectorLinea(argc, argv);
}
