// The applet settings travel in four forms besides their owned one
// (AppletValues): the generator's view, the wizard's C record, the
// component's attributes and zvsa's markup options. Each form is carried to
// and from AppletValues by one conversion; these tests read and change the
// forms directly, field by field, so that a setting a conversion drops,
// or puts in another's place, fails them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/markup_settings.h"
#include "webbot/applet_attributes.h"
#include "webbot/component_attributes.h"
#include "webbot/markup/applet_values.h"

namespace zv {
namespace {

// Where one setting lives in each form. Exactly one of the two member
// pointers of each form is set: the integer or the text one.
struct Field {
  const char* key;  // the component's attribute
  std::int32_t AppletValues::*integer;
  std::string AppletValues::*text;
  std::int32_t AppletSettings::*viewInteger;
  const char* AppletSettings::*viewText;
  std::int32_t WizardResult::*recordInteger;
  SystemString WizardResult::*recordText;
  const char* changed;  // a value the field takes in the tests, as text
};

const Field kFields[] = {
    {"I-NUMBUTTONS", &AppletValues::buttonCount, nullptr, &AppletSettings::buttonCount, nullptr,
     &WizardResult::buttonCount, nullptr, "1"},
    {"I-AUTOPLAY", &AppletValues::autoplay, nullptr, &AppletSettings::autoplay, nullptr,
     &WizardResult::autoplay, nullptr, "0"},
    {"I-VISIBLE", &AppletValues::visible, nullptr, &AppletSettings::visible, nullptr,
     &WizardResult::visible, nullptr, "1"},
    {"I-COUNT", &AppletValues::playCount, nullptr, &AppletSettings::playCount, nullptr,
     &WizardResult::playCount, nullptr, "32767"},
    {"I-HEIGHT", &AppletValues::height, nullptr, &AppletSettings::height, nullptr,
     &WizardResult::height, nullptr, "250"},
    {"I-WIDTH", &AppletValues::width, nullptr, &AppletSettings::width, nullptr,
     &WizardResult::width, nullptr, "500"},
    {"S-CLASS", nullptr, &AppletValues::className, nullptr, &AppletSettings::className, nullptr,
     &WizardResult::className, "Changed.class"},
    {"S-CODEBASE", nullptr, &AppletValues::codebase, nullptr, &AppletSettings::codebase, nullptr,
     &WizardResult::codebase, ""},
    {"S-APPLETTAG", nullptr, &AppletValues::tag, nullptr, &AppletSettings::tag, nullptr,
     &WizardResult::tag, "applet"},
    {"S-ALIGN", nullptr, &AppletValues::alignment, nullptr, &AppletSettings::alignment, nullptr,
     &WizardResult::alignment, "left"},
    {"S-BODY", nullptr, &AppletValues::bodyText, nullptr, &AppletSettings::bodyText, nullptr,
     &WizardResult::bodyText, "<b>\"changed\" & more</b>"},
    {"S-ATTRIBS", nullptr, &AppletValues::otherAttributes, nullptr,
     &AppletSettings::otherAttributes, nullptr, &WizardResult::otherAttributes, "NAME=\"z\" HIDDEN"},
};

// Values unlike the defaults, unlike each other and unlike every changed
// value above, so that a lost setting or one in another's place shows.
AppletValues distinctValues() {
  AppletValues values;
  values.buttonCount = 3;
  values.autoplay = 1;
  values.visible = 0;
  values.playCount = -1;
  values.height = 41;
  values.width = 97;
  values.className = "Other.class";
  values.codebase = "/classes/\"q\" & <b>";
  values.tag = "OBJECT";
  values.alignment = "bottom";
  values.bodyText = "<i>no Java</i>\r\nsecond line \xC3\xBC";
  values.otherAttributes = "ALT=\"x\" NAME=p1";
  return values;
}

std::string readValue(const AppletValues& values, const Field& field) {
  return field.integer ? std::to_string(values.*field.integer) : values.*field.text;
}

void changeValue(AppletValues& values, const Field& field, const std::string& text) {
  if (field.integer)
    values.*field.integer = std::stoi(text);
  else
    values.*field.text = text;
}

// One form: filled from the owned values and read back by the conversions
// under test; a setting read or changed in the form's own terms.
class Form {
 public:
  virtual ~Form() = default;
  virtual const char* name() const = 0;
  virtual void load(const AppletValues& values) = 0;
  virtual AppletValues values() const = 0;
  virtual std::string read(const Field& field) const = 0;
  virtual void change(const Field& field, const std::string& text) = 0;
};

class ViewForm : public Form {
 public:
  const char* name() const override { return "AppletSettings"; }
  void load(const AppletValues& values) override {
    owner_ = values;
    view_ = owner_.settings();
  }
  AppletValues values() const override { return appletValuesOf(view_); }
  std::string read(const Field& field) const override {
    if (field.viewInteger) return std::to_string(view_.*field.viewInteger);
    const char* text = view_.*field.viewText;
    return text ? text : "";
  }
  void change(const Field& field, const std::string& text) override {
    if (field.viewInteger) {
      view_.*field.viewInteger = std::stoi(text);
    } else {
      view_.*field.viewText = texts_.emplace_back(text).c_str();
    }
  }

 private:
  AppletValues owner_;
  AppletSettings view_;
  std::deque<std::string> texts_;  // the changed texts the view points at
};

class ResultRecordForm : public Form {
 public:
  ResultRecordForm() { std::memset(&record_, 0, sizeof record_); }
  ~ResultRecordForm() override { freeWizardResultStrings(record_); }
  const char* name() const override { return "WizardResult"; }
  void load(const AppletValues& values) override {
    freeWizardResultStrings(record_);
    std::memset(&record_, 0, sizeof record_);
    fillWizardResult(record_, values, "/tmp/run/clip.zvsa");
  }
  AppletValues values() const override {
    EXPECT_EQ(systemStringText(record_.clipFile), "/tmp/run/clip.zvsa");
    return appletValuesOf(record_);
  }
  std::string read(const Field& field) const override {
    return field.recordInteger ? std::to_string(record_.*field.recordInteger)
                               : systemStringText(record_.*field.recordText);
  }
  void change(const Field& field, const std::string& text) override {
    if (field.recordInteger) {
      record_.*field.recordInteger = std::stoi(text);
    } else {
      SysFreeString(record_.*field.recordText);
      record_.*field.recordText = SysAllocString(text.c_str());
    }
  }

 private:
  WizardResult record_;
};

class AttributesForm : public Form {
 public:
  const char* name() const override { return "component attributes"; }
  void load(const AppletValues& values) override {
    attributes_.clear();
    for (const webbot::AttributeText& attribute : webbot::appletAttributesOf(values.settings()))
      attributes_[attribute.key] = attribute.text;
  }
  AppletValues values() const override {
    // The map's texts stay put: they are kept where they are.
    const auto lookup = [this](const char* key) -> const char* {
      const auto found = attributes_.find(key);
      return found == attributes_.end() ? nullptr : found->second.c_str();
    };
    const auto keep = [](const char* text) { return text; };
    AppletSettings settings;
    EXPECT_TRUE(webbot::readAppletAttributes(lookup, keep, settings));
    return appletValuesOf(settings);
  }
  std::string read(const Field& field) const override {
    const auto found = attributes_.find(field.key);
    return found == attributes_.end() ? "(missing)" : found->second;
  }
  void change(const Field& field, const std::string& text) override { attributes_[field.key] = text; }

 private:
  std::map<std::string, std::string> attributes_;
};

class MarkupOptionsForm : public Form {
 public:
  const char* name() const override { return "zvsa markup options"; }
  void load(const AppletValues& values) override {
    markup_.applet = values;
    markup_.widthGiven = true;
  }
  AppletValues values() const override { return markup_.appletValues(); }
  std::string read(const Field& field) const override { return readValue(markup_.applet, field); }
  void change(const Field& field, const std::string& text) override {
    changeValue(markup_.applet, field, text);
  }

 private:
  cli::MarkupSettings markup_;
};

std::vector<std::unique_ptr<Form>> everyForm() {
  std::vector<std::unique_ptr<Form>> forms;
  forms.push_back(std::make_unique<ViewForm>());
  forms.push_back(std::make_unique<ResultRecordForm>());
  forms.push_back(std::make_unique<AttributesForm>());
  forms.push_back(std::make_unique<MarkupOptionsForm>());
  return forms;
}

TEST(AppletValueForms, EveryFormCarriesTheValuesThereAndBack) {
  AppletValues emptyTexts = distinctValues();
  for (std::string AppletValues::*text :
       {&AppletValues::className, &AppletValues::codebase, &AppletValues::tag,
        &AppletValues::alignment, &AppletValues::bodyText, &AppletValues::otherAttributes})
    emptyTexts.*text = "";
  for (const AppletValues& values : {AppletValues{}, distinctValues(), emptyTexts}) {
    for (const auto& form : everyForm()) {
      form->load(values);
      EXPECT_EQ(form->values(), values) << form->name();
    }
  }
}

TEST(AppletValueForms, ASettingChangedInOneFormArrivesInEveryOther) {
  for (const Field& field : kFields) {
    AppletValues expected = distinctValues();
    changeValue(expected, field, field.changed);
    ASSERT_NE(expected, distinctValues()) << field.key;
    for (const auto& source : everyForm()) {
      source->load(distinctValues());
      source->change(field, field.changed);
      const AppletValues carried = source->values();
      EXPECT_EQ(carried, expected) << field.key << " changed in " << source->name();
      for (const auto& target : everyForm()) {
        target->load(carried);
        EXPECT_EQ(target->read(field), field.changed)
            << field.key << " changed in " << source->name() << ", read in " << target->name();
      }
    }
  }
}

TEST(AppletValueForms, TheAttributesComeInTheComponentsOrder) {
  // Expand asks for them in this order and the WEBBOT text writes them in
  // it: the component's keys without the clip.
  const std::vector<webbot::AttributeText> attributes =
      webbot::appletAttributesOf(distinctValues().settings());
  ASSERT_EQ(attributes.size() + 1, webbot::kExpandKeyCount);
  for (std::size_t i = 0; i < attributes.size(); ++i)
    EXPECT_STREQ(attributes[i].key, webbot::kExpandKeys[i]);
}

TEST(AppletValueForms, ReadingStopsAtAMissingAttributeOrATextNotKept) {
  std::map<std::string, std::string> attributes;
  for (const webbot::AttributeText& attribute : webbot::appletAttributesOf(distinctValues().settings()))
    attributes[attribute.key] = attribute.text;
  struct Case {
    const char* missing;    // the attribute the component lacks, or null
    const char* refused;    // the text the keeper cannot keep, or null
    std::size_t askedFor;   // attributes asked for before the reading stops
  };
  const Case cases[] = {
      {"I-NUMBUTTONS", nullptr, 1}, {"I-WIDTH", nullptr, 6},  {"S-CLASS", nullptr, 7},
      {"S-ATTRIBS", nullptr, 12},   {nullptr, "bottom", 10},  {nullptr, nullptr, 12},
  };
  for (const Case& c : cases) {
    std::vector<std::string> asked;
    const auto lookup = [&](const char* key) -> const char* {
      asked.push_back(key);
      if (c.missing && asked.back() == c.missing) return nullptr;
      return attributes.at(key).c_str();
    };
    const auto keep = [&](const char* text) -> const char* {
      return c.refused && std::string(text) == c.refused ? nullptr : text;
    };
    AppletSettings settings;
    const bool complete = webbot::readAppletAttributes(lookup, keep, settings);
    EXPECT_EQ(complete, !c.missing && !c.refused) << asked.size();
    EXPECT_EQ(asked.size(), c.askedFor) << (c.missing ? c.missing : c.refused ? c.refused : "all");
    if (complete) {
      EXPECT_EQ(appletValuesOf(settings), distinctValues());
    }
  }
}

}  // namespace
}  // namespace zv
