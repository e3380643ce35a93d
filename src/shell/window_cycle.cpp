#include "shell/window_cycle.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"
#include "shell/box_reading.h"
#include "shell/help_texts.h"

namespace ferrovane {

namespace {

void declare(Form& form, const ControlSpec& item) {
    std::visit(
        [&form](const auto& c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, BoxSpec>) {
                form.addControl(c.name, c.initial);
                form.setLocked(c.name, c.readOnly);
                form.setEnabled(c.name, c.enabled);
                form.setVisible(c.name, c.visible);
                if (!c.labelName.empty())
                    form.addControl(c.labelName, c.label);
                if (!c.unitName.empty())
                    form.addControl(c.unitName, c.unit);
            } else if constexpr (std::is_same_v<T, GroupSpec>) {
                std::vector<std::string> names;
                for (const auto& [name, caption] : c.options)
                    names.push_back(name);
                form.addGroup(c.name, names);
                form.addControl(c.name, c.caption);
                for (const auto& [name, caption] : c.options)
                    form.setText(name, caption);
                form.setOption(c.name, c.initial);
            } else if constexpr (std::is_same_v<T, CheckSpec>) {
                form.addControl(c.name, c.caption);
                form.setChecked(c.name, c.checked);
            } else if constexpr (std::is_same_v<T, LabelSpec>) {
                form.addControl(c.name, c.text);
            } else if constexpr (std::is_same_v<T, ListSpec>) {
                form.addList(c.name);
                if (!c.headerName.empty())
                    form.addControl(c.headerName, c.header);
            } else if constexpr (std::is_same_v<T, PictureSpec>) {
                form.addControl(c.name, c.file);
            } else if constexpr (std::is_same_v<T, HelpBoxSpec>) {
                form.addControl(c.name);
                form.setLocked(c.name, true);
            } else if constexpr (std::is_same_v<T, ComboSpec>) {
                form.addControl(c.name, c.initial);
            } else if constexpr (std::is_same_v<T, ButtonSpec>) {
                form.addControl(c.name, c.caption);
                form.setEnabled(c.name, c.enabled);
                form.setVisible(c.name, c.visible);
            } else if constexpr (std::is_same_v<T, DrawingSpec>) {
                form.addDrawing(c.name, c.widthTwips, c.heightTwips);
            } else if constexpr (std::is_same_v<T, std::shared_ptr<FrameSpec>>) {
                form.addControl(c->name, c->caption);
                form.setVisible(c->name, c->visible);
            } else if constexpr (std::is_same_v<T, std::shared_ptr<GridSpec>>) {
                form.addControl(c->name);
            }
        },
        item);
}

std::string lowerAscii(std::string s) {
    for (auto& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

// The example flag of line 1: "True" or "False" in any letter case, or a
// number (non-zero is True). Anything else cannot be read.
std::optional<bool> readFlag(const std::string& field) {
    const std::string t = lowerAscii(TrimBlanks(field));
    if (t == "true")
        return true;
    if (t == "false")
        return false;
    if (!t.empty() && (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-' ||
                       t[0] == '+' || t[0] == '.'))
        return ReadNumber(t) != 0;
    return std::nullopt;
}

// A typed text as a field: a comma or a line break would end the field early
// and shift every field after it, so the text stops there. The number the
// box reads as is unchanged, since reading stops at either anyway.
std::string typedField(const std::string& text) {
    return text.substr(0, text.find_first_of(",\r\n"));
}

std::string fieldText(const FileField& field, const Form& form) {
    switch (field.kind) {
    case FieldKind::Eng:
        // Not the out-of-range text, which would read back as 0 next time.
        return engFieldText(form.number(field.name));
    case FieldKind::Typed:
        return typedField(form.text(field.name));
    case FieldKind::TypedOrZero:
        return form.text(field.name).empty() ? "0.00" : typedField(form.text(field.name));
    case FieldKind::Option:
    case FieldKind::OptionIfAny:
        return std::to_string(form.option(field.name));
    case FieldKind::OptionNumber:
        return PlainNumber(form.option(field.name), LeadingBlank::Yes);
    case FieldKind::Value: {
        const double v = form.value(field.name);
        return std::isfinite(v) ? PlainNumber(v, LeadingBlank::Yes) : " 0";
    }
    case FieldKind::Fixed:
        return field.name;
    case FieldKind::Check:
        return form.checked(field.name) ? "1" : "0";
    }
    return {};
}

} // namespace

std::vector<ButtonSpec> standardButtons(const FormSpec& form) {
    return {{"CmdCalc", "Calculate"},
            {"CmdClr", form.clearCaption},
            {"CmdLoadData", "Load Last Run"},
            {form.closeName, "Close"}};
}

namespace {

void visitTree(const std::vector<ControlSpec>& items,
               const std::function<void(const ControlSpec&)>& visit) {
    for (const ControlSpec& item : items) {
        visit(item);
        if (const auto* f = std::get_if<std::shared_ptr<FrameSpec>>(&item))
            visitTree((*f)->children, visit);
        else if (const auto* g = std::get_if<std::shared_ptr<GridSpec>>(&item))
            visitTree((*g)->cells, visit);
    }
}

} // namespace

void forEachControl(const FormSpec& form, const std::function<void(const ControlSpec&)>& visit) {
    for (const auto* region : {&form.left, &form.right, &form.bottom})
        visitTree(*region, visit);
    for (const ButtonSpec& b : form.buttons.empty() ? standardButtons(form) : form.buttons)
        visit(ControlSpec(b));
}

Form makeForm(const Calculator& calc) {
    Form form;
    forEachControl(calc.form, [&form](const ControlSpec& item) { declare(form, item); });
    for (const auto& name : calc.values)
        form.addValue(name);
    for (const auto& field : calc.fields)
        if (field.kind == FieldKind::Value)
            form.addValue(field.name);
    form.setMaximised(calc.form.maximised);
    return form;
}

std::vector<std::string> undeclaredNames(const Calculator& calc) {
    const Form form = makeForm(calc);
    std::vector<std::string> missing;
    auto need = [&](const std::string& name, bool declared) {
        if (!declared)
            missing.push_back(name);
    };
    auto isGroup = [&](const std::string& name) {
        try {
            form.options(name);
            return true;
        } catch (const std::out_of_range&) {
            return false;
        }
    };
    for (const auto& field : calc.fields) {
        switch (field.kind) {
        case FieldKind::Option:
        case FieldKind::OptionNumber:
        case FieldKind::OptionIfAny:
            need(field.name, isGroup(field.name));
            break;
        case FieldKind::Value:
        case FieldKind::Fixed:
            break;
        default:
            need(field.name, form.has(field.name));
        }
    }
    for (const auto& box : calc.clearBoxes)
        need(box, form.has(box));
    for (const auto& group : calc.clearGroups)
        need(group, isGroup(group));
    for (const auto* handlers :
         {&calc.options, &calc.boxes, &calc.checks, &calc.combos, &calc.lostFocus, &calc.buttons})
        for (const auto& [name, handler] : *handlers)
            need(name, form.has(name));
    if (!calc.form.printButton.empty())
        need(calc.form.printButton, form.has(calc.form.printButton));
    if (const auto& help = calc.form.hoverHelp) {
        need(help->box, form.has(help->box));
        for (const auto& [name, text] : help->texts)
            need(name, form.has(name) || name == help->frame);
    }
    return missing;
}

namespace {

// The data file, read once for a load: as many fields as the standard
// reader uses, or the usual limit for a calculator with its own reader.
DataFields readDataFile(const Calculator& calc, CalcEnv& env) {
    if (calc.dataFile.empty())
        return std::nullopt;
    return calc.loadFile ? env.files.readFields(calc.dataFile)
                         : env.files.readFields(calc.dataFile, calc.fields.size() + 1);
}

void loadFields(const Calculator& calc, Form& form, CalcEnv& env, const DataFields& fields) {
    runGuarded(calc, form, env, [&](Form& f, CalcEnv& e) {
        if (calc.loadFile)
            calc.loadFile(f, e, fields);
        else
            StandardLoadFile(calc, f, e, fields);
    });
}

} // namespace

Form Form_Load(const Calculator& calc, CalcEnv& env) {
    Form form = makeForm(calc);
    bool flagRead = false;
    const DataFields fields = readDataFile(calc, env);
    if (fields && !fields->empty()) {
        if (auto flag = readFlag(fields->front())) {
            form.setExampleFlag(*flag);
            flagRead = true;
        }
    }
    loadFields(calc, form, env, fields);
    if (form.exampleFlag())
        form.setText("CmdLoadData", "Load Example");
    if (calc.setUp)
        runGuarded(calc, form, env, [&](Form& f, CalcEnv& e) { calc.setUp(f, e, flagRead); });
    return form;
}

void StandardLoadFile(const Calculator& calc, Form& form, CalcEnv& env) {
    if (!calc.dataFile.empty())
        StandardLoadFile(calc, form, env,
                         env.files.readFields(calc.dataFile, calc.fields.size() + 1));
}

void StandardLoadFile(const Calculator& calc, Form& form, CalcEnv& env, const DataFields& fields) {
    if (!fields)
        return;
    for (std::size_t i = 0; i < calc.fields.size() && i + 1 < fields->size(); ++i) {
        const FileField& field = calc.fields[i];
        const std::string& text = (*fields)[i + 1];
        switch (field.kind) {
        case FieldKind::Eng:
        case FieldKind::Typed:
        case FieldKind::TypedOrZero:
            form.setText(field.name, text);
            break;
        case FieldKind::Option:
        case FieldKind::OptionNumber:
        case FieldKind::OptionIfAny: {
            const double n = ReadNumber(text);
            // A copy: selecting an option commits a new form, which would
            // leave a reference into the old one dangling.
            const std::vector<std::string> options = form.options(field.name);
            for (std::size_t k = 0; k < options.size(); ++k)
                if (n == static_cast<double>(k + 1))
                    selectOption(calc, form, env, options[k]);
            break;
        }
        case FieldKind::Value:
            form.setValue(field.name, ReadNumber(text));
            break;
        case FieldKind::Fixed:
            break;
        case FieldKind::Check:
            clickCheck(calc, form, env, field.name, ReadNumber(text) != 0);
            break;
        }
    }
}

void LoadFile(const Calculator& calc, Form& form, CalcEnv& env) {
    loadFields(calc, form, env, readDataFile(calc, env));
}

void CmdLoadData_Click(const Calculator& calc, Form& form, CalcEnv& env) {
    LoadFile(calc, form, env);
}

void CmdClr_Click(const Calculator& calc, Form& form, CalcEnv& env) {
    if (calc.clear) {
        runGuarded(calc, form, env, calc.clear);
        return;
    }
    for (const auto& box : calc.clearBoxes)
        form.setText(box, "");
    for (const auto& group : calc.clearGroups)
        form.clearOption(group);
}

bool CmdCalc_Click(const Calculator& calc, Form& form, CalcEnv& env) {
    return calc.calculate ? runGuarded(calc, form, env, calc.calculate) : true;
}

namespace {

// The handler by name, then the catch-all, as one guarded step.
void dispatch(const Calculator& calc, const HandlerMap& byName, const NamedHandler& catchAll,
              const std::string& name, Form& form, CalcEnv& env) {
    const auto it = byName.find(name);
    if (it == byName.end() && !catchAll)
        return;
    runGuarded(calc, form, env, [&](Form& f, CalcEnv& e) {
        if (it != byName.end())
            it->second(f, e);
        if (catchAll)
            catchAll(f, e, name);
    });
}

} // namespace

void selectOption(const Calculator& calc, Form& form, CalcEnv& env, const std::string& option) {
    form.setOption(form.groupOf(option), form.numberOf(option));
    dispatch(calc, calc.options, calc.optionSelected, option, form, env);
}

void clickCheck(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name,
                bool checked) {
    form.setChecked(name, checked);
    dispatch(calc, calc.checks, calc.checkChanged, name, form, env);
}

void editBox(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name,
             const std::string& text) {
    form.setText(name, text);
    dispatch(calc, calc.boxes, calc.boxChanged, name, form, env);
}

void chooseCombo(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name,
                 const std::string& text) {
    form.setText(name, text);
    dispatch(calc, calc.combos, nullptr, name, form, env);
}

void leaveBox(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name) {
    dispatch(calc, calc.lostFocus, nullptr, name, form, env);
}

ButtonOutcome pressButton(const Calculator& calc, Form& form, CalcEnv& env,
                          const std::string& name) {
    if (name == "CmdCalc")
        CmdCalc_Click(calc, form, env);
    else if (name == "CmdClr")
        CmdClr_Click(calc, form, env);
    else if (name == "CmdLoadData")
        CmdLoadData_Click(calc, form, env);
    else if (name == calc.form.closeName)
        return ButtonOutcome::Close;
    else
        dispatch(calc, calc.buttons, nullptr, name, form, env);
    return ButtonOutcome::Stay;
}

bool runGuarded(const Calculator& calc, Form& form, CalcEnv& env, const Handler& handler) {
    Form copy = form;
    try {
        handler(copy, env);
    } catch (const NumericFault& fault) {
        // The boxes as the user left them, not as the handler half rewrote them.
        env.dialogs.show(
            Message{numericFaultText(fault.what(), boxesWithoutNumber(calc.form, form)), kAppTitle,
                    MessageIcon::Exclamation, MessageButtons::Ok});
        return false;
    }
    form = std::move(copy);
    return true;
}

std::vector<std::string> fileLines(const Calculator& calc, const Form& form) {
    std::vector<std::string> lines{"False"};
    for (const auto& field : calc.fields)
        if (field.kind != FieldKind::OptionIfAny || form.option(field.name) != 0)
            lines.push_back(fieldText(field, form));
    return lines;
}

CloseOutcome CmdClose_Click(const Calculator& calc, Form& form, CalcEnv& env) {
    if (calc.beforeSave)
        runGuarded(calc, form, env, calc.beforeSave);
    if (calc.dataFile.empty())
        return CloseOutcome::Saved;
    const WriteResult written = env.files.writeLines(calc.dataFile, fileLines(calc, form));
    if (written)
        return CloseOutcome::Saved;
    const bool closeAnyway =
        env.dialogs.ask("Your data could not be saved in \"" + calc.dataFile + "\":\r\n" +
                            written.error + "\r\n\r\nClose without saving?",
                        kAppTitle, MessageIcon::Exclamation);
    return closeAnyway ? CloseOutcome::NotSaved : CloseOutcome::KeptOpen;
}

std::optional<std::string> hoverHelpText(const Calculator& calc, const Form& form,
                                         const std::string& control) {
    if (!calc.form.hoverHelp)
        return std::nullopt;
    const HoverHelp& help = *calc.form.hoverHelp;
    if (control == help.frame)
        return std::string();
    if (!help.sharedTexts) {
        auto it = help.texts.find(control);
        if (it == help.texts.end())
            return std::nullopt;
        return it->second;
    }
    if (control == "CmdCalc")
        return std::string(CalcHelp);
    if (control == "CmdClr")
        return std::string(ClearHelp);
    if (control == calc.form.closeName)
        return std::string(CloseHelp);
    if (control == "CmdLoadData")
        return std::string(form.exampleFlag() ? ExampleHelp : ReloadHelp);
    // A window's own buttons beside the standard four keep their own texts.
    if (auto it = help.texts.find(control); it != help.texts.end())
        return it->second;
    return std::nullopt;
}

const TextMetrics& CalcEnv::textMetrics() const {
    static const FixedTextMetrics fixed;
    return metrics ? *metrics : fixed;
}

bool CalcEnv::runLong(const std::string& title, const LongWork& work) {
    if (longRuns)
        return longRuns->run(title, work);
    Progress progress;
    work(progress);
    return !progress.cancelled();
}

bool CalcEnv::print(const PrintJob& job) {
    if (printer)
        return printer->print(job);
    dialogs.say("There is no printer to print on.", MessageIcon::Exclamation);
    return false;
}

std::string numericFaultText(const std::string& reason, const std::vector<std::string>& unread) {
    const std::string fault = "cannot be calculated (" + reason + ").  Nothing has been changed.";
    if (unread.empty())
        return "These values " + fault;
    std::string boxes = unread.front();
    for (std::size_t i = 1; i < unread.size(); ++i)
        boxes += (i + 1 == unread.size() ? " and " : ", ") + unread[i];
    return boxes + (unread.size() == 1 ? " was" : " were") + " read as 0, so these values " + fault;
}

} // namespace ferrovane
