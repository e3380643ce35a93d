#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ferrovane {

// Where a window asks which file to save into: Qt's file dialog, or what a
// test puts in its place (an empty path means the user cancelled).
using SaveFilePrompt =
    std::function<QString(QWidget* parent, const QString& title, const QString& filter)>;

QString askSaveFile(QWidget* parent, const QString& title, const QString& filter);
// Replaces the prompt for the whole program; an empty one restores the dialog.
void setSaveFilePrompt(SaveFilePrompt prompt);

} // namespace ferrovane
