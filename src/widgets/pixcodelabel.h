#pragma once

#include "core/pix.h"

#include <QLabel>

namespace quelvarino {

// The PIX code of the document on screen, beside its total, for a client
// at the counter to scan from the monitor. It keeps its place while the
// company prints codes (blank while there is no amount), and is hidden when
// the company prints none.
class PixCodeLabel : public QLabel {
    Q_OBJECT
public:
    PixCodeLabel(const QString& name, int side, QWidget* parent);

    // The company's PIX data, read again when the screen is activated.
    void readCompany();
    // The code for this document, or none when `allowed` is false.
    void showFor(const QString& prefix,
                 const QString& number,
                 const QString& money,
                 bool allowed = true);
    QString payload() const { return payload_; }
    // "Pague com PIX – R$ 146,25", drawn over the code; empty with no code.
    QString caption() const { return caption_; }

private:
    pix::CompanyPix company_;
    int side_;
    QString payload_;
    QString caption_;
};

}  // namespace quelvarino
