#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QMimeData;
class QWidget;

namespace ferrovane {

// Asks for a design file: where to save one (save true) or which to open,
// starting at start. An empty text when the user cancels. Windows use the
// file dialogs; tests put their own answer in its place.
using DesignFileAsker = std::function<QString(QWidget* parent, bool save, const QString& start)>;

// The file dialogs of Save Design As and Open Design. A name saved without
// the designs' extension gets it.
QString askDesignFile(QWidget* parent, bool save, const QString& start);

// Where a new design is offered to be saved: the documents folder.
QString designFolder();

// The design files among what is dragged: local files named *.fvd.
QStringList droppedDesigns(const QMimeData* mime);

} // namespace ferrovane
