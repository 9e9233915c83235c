// The widget headers nearly every window includes, parsed once per target (see ORVAN_PCH).
#pragma once
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
