#pragma once

#include "registers/searchscreen.h"

namespace quelvarino {

// "Pesquisa de Ordens de Serviços": recorded orders by number, client,
// requester, courier, vehicle or plate, the newest current.
class TQuelvarino0021_1 : public SearchScreen {
    Q_OBJECT
public:
    explicit TQuelvarino0021_1(QWidget* parent = nullptr);
    static TQuelvarino0021_1* instance();  // the one instance, Quelvarino0021_1
};

}  // namespace quelvarino
