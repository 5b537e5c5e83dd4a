#include "dorvikapp.h"

int main(int argc, char **argv) {
    return RunLectorDorvik(argc, argv);
}
