#pragma once

class QRadioButton;

namespace quelvarino {

class MaskEdit;

// The CNPJ/CPF field of the client and company screens and its two radio
// buttons "C.N.P.J." and "C.P.F.".
struct DocumentField {
    MaskEdit* edit;
    QRadioButton* cnpj;
    QRadioButton* cpf;

    // Gives the field the same width under either mask or none, so that
    // choosing one never moves the fields beside it.
    void keepWidth() const;
    // Empties the field and sets the mask of the chosen kind.
    void chooseCnpj() const;
    void chooseCpf() const;
    // No mask and no kind chosen (after clearing).
    void reset() const;
    // A number typed while no kind was chosen takes the kind its digits say
    // (14: CNPJ, 11: CPF) with its mask; false when they say neither.
    bool takeKindFromDigits() const;
    // In browse state a loaded number shows its kind on the radio buttons
    // (14 digits: C.N.P.J., 11: C.P.F., neither otherwise).
    void showKindWhileBrowsing() const;
};

}  // namespace quelvarino
