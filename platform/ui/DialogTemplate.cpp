#include "platform/ui/DialogTemplate.h"

#include <map>
#include <utility>

namespace platform::ui {
namespace {

using Key = std::pair<unsigned, Language>;

std::map<Key, DialogTemplate>& Registry()
{
    static std::map<Key, DialogTemplate> registry;
    return registry;
}

std::optional<DialogTemplate> Exact(unsigned id, Language language)
{
    auto found = Registry().find({id, language});
    if (found == Registry().end())
        return std::nullopt;
    return found->second;
}

} // namespace

void RegisterDialogTemplate(unsigned id, Language language, DialogTemplate dialogTemplate)
{
    Registry().insert_or_assign(Key{id, language}, std::move(dialogTemplate));
}

void UnregisterDialogTemplate(unsigned id, Language language)
{
    Registry().erase({id, language});
}

std::optional<DialogTemplate> FindDialogTemplate(unsigned id)
{
    for (Language language : {UiLanguage(), Language::Neutral, Language::English}) {
        if (auto found = Exact(id, language))
            return found;
    }
    return std::nullopt;
}

ScopedDialogTemplate::ScopedDialogTemplate(unsigned id, Language language, DialogTemplate dialogTemplate)
    : m_id(id), m_language(language), m_previous(Exact(id, language))
{
    RegisterDialogTemplate(id, language, std::move(dialogTemplate));
}

ScopedDialogTemplate::~ScopedDialogTemplate()
{
    if (m_previous)
        RegisterDialogTemplate(m_id, m_language, std::move(*m_previous));
    else
        UnregisterDialogTemplate(m_id, m_language);
}

} // namespace platform::ui
