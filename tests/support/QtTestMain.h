#pragma once

// The main routine of a Qt Test program: like QTEST_MAIN, but the process
// gets a runtime directory of its own (mode 700) and a cache folder of its
// own (for the copies of word lists) before the application starts.

#include "TempDir.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>

#define TAVELIN_QTEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                              \
        tavelin::test::TempDir runtime;                                                            \
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);                                    \
        tavelin::test::TempDir cache;                                                              \
        ::setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);                                       \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
