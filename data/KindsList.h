#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace vorlin {

// The program's working list of kinds for the whole run: the settings window
// shows and edits it, the import extends it, and every save writes the kinds
// file and tells whoever lists the kinds (the main window's kind box and
// filter list).
class KindsList : public QObject {
    Q_OBJECT
public:
    explicit KindsList(QString filePath, QObject* parent = nullptr);

    const QStringList& working() const { return working_; }
    // The list as edited (the settings window's memo); tells on a change.
    void setWorking(const QStringList& kinds);

    // Appends a kind that the list does not hold yet (letter case ignored)
    // and saves the list; true when it was new.
    bool add(const QString& kind);

    // Writes the working list into the kinds file and tells what the file
    // now holds. A refused write raises FileError.
    void save();

Q_SIGNALS:
    void workingChanged(const QStringList& kinds);
    void saved(const QStringList& kinds);

private:
    QString filePath_;
    QStringList working_;
};

}  // namespace vorlin
