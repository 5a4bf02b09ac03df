#pragma once
// "Set Colors By RGB": a colour typed as red, green and blue, or as one combined number.
// Values out of range or not numbers are refused with a message and the dialog stays open.
#include <framework/Framework.h>

#include <cstdint>

namespace lorvane {

class ESetRGBByNumbersDlg : public CDialog {
public:
    explicit ESetRGBByNumbersDlg(std::uint32_t colour);
    std::uint32_t Colour() const { return m_colour; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    bool Combined() const;
    void ShowColour(std::uint32_t colour);
    // Radio changes: the fields of the mode left are read and shown in the other's.
    void SwitchMode(bool combined);
    std::string Field(int id) const;

    std::uint32_t m_colour;
};

}  // namespace lorvane
