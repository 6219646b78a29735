#include "app/Main.h"

int main(int argc, char** argv) { return zul::Main(argc, argv); }
