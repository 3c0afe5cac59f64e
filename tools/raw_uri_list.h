#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

namespace tolvane {

// Hands over a text/uri-list's bytes unchanged, as the data of a drop from
// another program does on X11. A QMimeData filled by setData() would not:
// Qt parses that format into URLs and writes it back normalised, on every
// read. Shared by the tests and the benchmarks.
class RawUriList : public QMimeData {
  public:
    explicit RawUriList(QByteArray list) : list_(std::move(list)) {}

    bool hasFormat(const QString& mimeType) const override { return mimeType == kUriList; }
    QStringList formats() const override { return {kUriList}; }

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        return mimeType == kUriList ? QVariant(list_) : QVariant();
    }

  private:
    static inline const QString kUriList = QStringLiteral("text/uri-list");
    QByteArray list_;
};

}  // namespace tolvane
