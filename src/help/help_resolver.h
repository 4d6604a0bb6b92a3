#pragma once

#include "help/help_config.h"
#include "help/help_request.h"

#include <functional>

namespace vantor::help {

// The selected type as HelpLookup needs it.
struct TypeHelpFacts {
    QString guid;     // "{...}"
    QString helpFile; // the type's own help file; empty when none
    qint32 helpContext = 0;
};

// Help topic resolution of the main window: which help file belongs to the loaded library and
// type, and which file, topic and context a help request opens. No widgets: the window passes
// what it shows and carries out the returned call.
class HelpResolver {
public:
    HelpResolver(HelpConfig config, const HelpMachine& machine, QString programHelpFile,
                 std::function<QString(const QString&)> metaHelp);

    // HelpLookup: the help file of the library the path box names and the selected type. Returns
    // true when a help file was found (the help button is enabled). `status` gets the status
    // texts it shows.
    bool HelpLookup(const QString& pathText, const TypeHelpFacts& type,
                    const std::function<void(const QString&)>& status);
    // ShowContextHelp: the viewer call for a request over the current selection.
    HelpCall ShowContextHelp(const HelpRequest& request, const HelpSelection& selection);

    const HelpConfig& config() const { return config_; }
    const QString& mbrHelpFile() const { return helpFile_; }
    qint32 mbrContextID() const { return contextId_; }
    int scriptLibIndex() const { return scriptLibIndex_; }
    const QString& metaHelpSuffix() const { return metaHelpSuffix_; }

private:
    QString pageTopic(const QString& topic, const HelpSelection& s, bool members) const;
    QString typeKeywords(const HelpSelection& s) const;
    QString memberKeywords(const HelpSelection& s) const;
    QString scriptDefaultPage() const;
    void locate(QString& folder, QString& name) const;

    HelpConfig config_;
    const HelpMachine& machine_;
    QString programHelpFile_;
    std::function<QString(const QString&)> metaHelp_;
    int scriptLibIndex_ = 0;
    QString metaHelpSuffix_;
    QString helpFile_;
    qint32 contextId_ = 0;
};

} // namespace vantor::help
