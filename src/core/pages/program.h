#pragma once
class QApplication;
// Runs the program: start-up page, its pages, until the user ends it.
int runProgram(QApplication& application);
