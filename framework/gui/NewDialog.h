#pragma once
// File New's list of document kinds: one entry per kind in registration
// order, the first selected; a double click chooses.
#include <memory>
#include <vector>

#include "framework/gui/Dialog.h"
#include "framework/gui/DocTemplate.h"

namespace vantorel {

class CNewDialog : public CDialog {
public:
    CNewDialog(const std::vector<std::unique_ptr<CDocTemplate>>& templates, QWidget* parent);
    // The kind chosen, or null when cancelled.
    static CDocTemplate* Choose(const std::vector<std::unique_ptr<CDocTemplate>>& templates, QWidget* parent);

    CDocTemplate* m_pSelected = nullptr;

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    const std::vector<std::unique_ptr<CDocTemplate>>& m_templates;
};

} // namespace vantorel
