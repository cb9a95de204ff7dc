// The ribbon: categories, panels and elements, the connect button's two faces, the parameter edits.
#include "mainframe/CMainFrame.h"

#include "platform/StringTable.h"
#include "platform/ui/Icons.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonButton.h"
#include "platform/ui/RibbonCategory.h"
#include "platform/ui/RibbonCheckBox.h"
#include "platform/ui/RibbonEdit.h"
#include "platform/ui/RibbonPanel.h"
#include "res/resource.h"

#include <QKeyEvent>

namespace {
using platform::LoadString;

void Describe(platform::RibbonElement* element, const QString& toolTip, const QString& description) {
    element->setToolTipText(toolTip);
    element->setDescription(description);
}

platform::RibbonButton* AddButton(platform::RibbonPanel* panel, UINT id, UINT label, const QString& toolTip,
                                  UINT description, UINT icon) {
    auto* button = panel->addButton(id, LoadString(label), platform::loadIcon(icon), true);
    Describe(button, toolTip, LoadString(description));
    return button;
}

void AddCheckBox(platform::RibbonPanel* panel, UINT id, UINT label, UINT description) {
    auto* box = panel->addCheckBox(id, LoadString(label));
    Describe(box, LoadString(label), LoadString(description));
}

// The ribbon edits' decimal reading: leading digits count, anything else reads as 0.
uint16_t EditValue(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype digits = 0;
    bool negative = false;
    if (!trimmed.isEmpty() && (trimmed[0] == QLatin1Char('-') || trimmed[0] == QLatin1Char('+'))) {
        negative = trimmed[0] == QLatin1Char('-');
        digits = 1;
    }
    uint32_t value = 0;
    for (; digits < trimmed.size() && trimmed[digits].isDigit() && trimmed[digits].unicode() < 128; ++digits)
        value = value * 10 + static_cast<uint32_t>(trimmed[digits].unicode() - '0');
    return static_cast<uint16_t>(negative ? 0u - value : value);
}
} // namespace

void CMainFrame::BuildRibbon() {
    platform::RibbonCategory* main = m_ribbon->addCategory(LoadString(IDS_MAIN));
    platform::RibbonPanel* connections = main->addPanel(LoadString(IDS_DEVICE_CONNECTIONS));
    AddButton(connections, ID_DISCOVER, IDS_DISCOVER_LABEL, LoadString(IDS_DISCOVER_TIP), IDS_DISCOVER_DESC,
              IDI_DISCOVER);
    AddButton(connections, ID_CONNECT, IDS_CONNECT_LABEL, LoadString(IDS_CONNECT_TIP), IDS_CONNECT_DESC,
              IDI_CONNECT);
    m_connectIcon = platform::loadIcon(IDI_CONNECT);
    m_disconnectIcon = platform::loadIcon(IDI_DISCONNECT);
    UpdateRibbonState(true);

    platform::RibbonPanel* parameters = main->addPanel(LoadString(IDS_CONNECTION_PARAMETERS));
    // One parameter edit: its command, label, tip, description, spin range and first value.
    struct ParameterEditDescription {
        UINT id, label;
        QString toolTip;
        UINT description;
        int minimum, maximum;
        uint16_t initial;
    };
    const ParameterEditDescription edits[] = {
        {ID_PARAM_MIN, IDS_MINIMUM, QStringLiteral("Minimum"), IDS_MINIMUM_DESC, 6, 3200,
         m_connectionParameters.intervalMin},
        {ID_PARAM_MAX, IDS_MAXIMUM, QStringLiteral("Maximum"), IDS_MAXIMUM_DESC, 0, 4100,
         m_connectionParameters.intervalMax},
        {ID_PARAM_LATENCY, IDS_LATENCY, LoadString(IDS_LATENCY_TIP), IDS_LATENCY_DESC, 0, 32,
         m_connectionParameters.slaveLatency},
        {ID_PARAM_TIMEOUT, IDS_TIMEOUT, QStringLiteral("Timeout"), IDS_TIMEOUT_DESC, 0, 65535,
         m_connectionParameters.supervisionTimeout},
    };
    for (const auto& description : edits) {
        platform::RibbonEdit* edit = parameters->addEdit(description.id, LoadString(description.label), 50,
                                                         description.minimum, description.maximum);
        Describe(edit, description.toolTip, LoadString(description.description));
        edit->setEditText(QString::number(description.initial));
        edit->setKeyFilter([](QKeyEvent* key) { return IsParameterEditKey(key->key(), key->modifiers()); });
    }
    AddButton(parameters, ID_UPDATE_PARAMETERS, IDS_UPDATE_PARAMETERS, QStringLiteral("Update parameters"),
              IDS_UPDATE_PARAMETERS_DESC, IDI_UPDATE_PARAMETERS);
    AddCheckBox(parameters, ID_QUICK_CONNECT, IDS_QUICK_CONNECT, IDS_QUICK_CONNECT_DESC);
    AddCheckBox(parameters, ID_ACCEPT_UPDATES, IDS_ACCEPT_UPDATES, IDS_ACCEPT_UPDATES_DESC);
    AddCheckBox(parameters, ID_RANDOM_ADDRESS, IDS_RANDOM_ADDRESS, IDS_RANDOM_ADDRESS_DESC);

    platform::RibbonPanel* security = main->addPanel(LoadString(IDS_SECURITY));
    AddCheckBox(security, ID_ENABLE_MITM, IDS_ENABLE_MITM, IDS_ENABLE_MITM_DESC);

    platform::RibbonCategory* advanced = m_ribbon->addCategory(LoadString(IDS_ADVANCED));
    platform::RibbonPanel* debug = advanced->addPanel(LoadString(IDS_DEBUG));
    AddButton(debug, ID_SHOW_LOG, IDS_SHOW_LOG, QStringLiteral("Show log"), IDS_SHOW_LOG_DESC, IDI_SHOW_LOG);
    AddCheckBox(debug, ID_ENABLE_LOG, IDS_ENABLE_LOG, IDS_ENABLE_LOG_DESC);

    platform::RibbonCategory* help = m_ribbon->addCategory(LoadString(IDS_HELP_CATEGORY));
    platform::RibbonPanel* helpPanel = help->addPanel(LoadString(IDS_HELP));
    AddButton(helpPanel, ID_ABOUT, IDS_ABOUT_LABEL, LoadString(IDS_ABOUT_TIP), IDS_ABOUT_DESC, IDI_ABOUT);
}

void CMainFrame::UpdateRibbonState(bool showConnect) {
    // A button that already shows this face stays: a selection then costs no new button.
    if (m_connectButtonShowsConnect == showConnect)
        return;
    platform::RibbonCategory* main = m_ribbon->categoryAt(0);
    platform::RibbonPanel* connections = main ? main->panelAt(0) : nullptr;
    if (!connections)
        return;
    auto* button = new platform::RibbonButton(
        ID_CONNECT, LoadString(showConnect ? IDS_CONNECT_LABEL : IDS_DISCONNECT_LABEL),
        showConnect ? m_connectIcon : m_disconnectIcon, true);
    button->reserveWidthFor({LoadString(IDS_CONNECT_LABEL), LoadString(IDS_DISCONNECT_LABEL)});
    Describe(button, LoadString(showConnect ? IDS_CONNECT_TIP : IDS_DISCONNECT_LABEL),
             LoadString(showConnect ? IDS_CONNECT_DESC : IDS_DISCONNECT_DESC));
    connections->removeAt(1);
    connections->append(button);
    m_ribbon->recalcLayout();
    m_connectButtonShowsConnect = showConnect;
}

platform::RibbonEdit* CMainFrame::ParameterEdit(UINT id) const {
    platform::RibbonCategory* main = m_ribbon->categoryAt(0);
    platform::RibbonPanel* parameters = main ? main->panelAt(1) : nullptr;
    if (!parameters)
        return nullptr;
    for (int i = 0; i < parameters->elementCount(); ++i)
        if (parameters->elementAt(i)->id() == id)
            return qobject_cast<platform::RibbonEdit*>(parameters->elementAt(i));
    return nullptr;
}

void CMainFrame::ReadConnectionParameterEdits(uint16_t& min, uint16_t& max, uint16_t& latency,
                                              uint16_t& timeout) const {
    uint16_t* outputs[] = {&min, &max, &latency, &timeout};
    const UINT ids[] = {ID_PARAM_MIN, ID_PARAM_MAX, ID_PARAM_LATENCY, ID_PARAM_TIMEOUT};
    for (int i = 0; i < 4; ++i) {
        const platform::RibbonEdit* edit = ParameterEdit(ids[i]);
        *outputs[i] = edit ? EditValue(edit->editText()) : 0;
    }
}

void CMainFrame::OnRemoteConnectionParameters(uint16_t min, uint16_t max, uint16_t latency,
                                              uint16_t timeout) {
    const UINT ids[] = {ID_PARAM_MIN, ID_PARAM_MAX, ID_PARAM_LATENCY, ID_PARAM_TIMEOUT};
    const uint16_t values[] = {min, max, latency, timeout};
    for (int i = 0; i < 4; ++i)
        if (platform::RibbonEdit* edit = ParameterEdit(ids[i]))
            edit->setEditText(QString::number(values[i]));
}

bool CMainFrame::IsParameterEditKey(int key, Qt::KeyboardModifiers modifiers) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return !(modifiers & Qt::KeypadModifier);
    // Shift+Tab arrives as Backtab; it is the Tab key all the same.
    return key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Tab ||
           key == Qt::Key_Backtab || key == Qt::Key_Left || key == Qt::Key_Right;
}
