#pragma once

#include <QWidget>

namespace quelvarino {

// The start-up picture: borderless, 313 by 121, white.
class TQuelvarino00Inic_0 : public QWidget {
    Q_OBJECT
public:
    explicit TQuelvarino00Inic_0(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quelvarino
