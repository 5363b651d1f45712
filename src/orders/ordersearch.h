#pragma once

#include "registers/searchscreen.h"

namespace quelvarino {

// "Pesquisa de Ordens de Serviços": recorded orders by number, client,
// requester, courier, vehicle or plate, the newest current.
class TQuelvarino0021_1 : public SearchScreen, public OneScreen<TQuelvarino0021_1> {
    Q_OBJECT
public:
    explicit TQuelvarino0021_1(QWidget* parent = nullptr);
};

}  // namespace quelvarino
