#include "modMain.h"

int main(int argc, char** argv) {
    return tavelin::Main(argc, argv);
}
