#pragma once

#include <QWidget>

namespace corvix {

// Stands in for a scanner page (scan list, I/O mapping, ADR, diagnostics) until its editor is
// built: the page is there, in its place and with its caption and help topic, and says plainly
// that it cannot be edited here yet.
class TScannerPagePlaceholder : public QWidget {
    Q_OBJECT
public:
    TScannerPagePlaceholder(const QString& what, QWidget* parent = nullptr);
};

}  // namespace corvix
