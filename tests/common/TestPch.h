// Headers nearly every test file reads, compiled once per test program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
