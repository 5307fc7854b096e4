# The stricter warnings for the program's own code (src/ and tools/): included
# at the top of those folders' CMakeLists.txt, so it applies to every target
# made there and below. Tests, benchmarks and fuzz targets keep the -Wall
# -Wextra of the top level. Qt's and the system's headers come in with
# -isystem and are not warned about.
add_compile_options(-Wshadow -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual
                    -Wformat=2 -Wsign-conversion)
# Every QString made from bytes says which encoding the bytes are in.
add_compile_definitions(QT_NO_CAST_FROM_ASCII)
