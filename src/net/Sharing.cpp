#include "net/Sharing.h"

#include <stdexcept>

#include "net/CommaText.h"
#include "table/Big5.h"

namespace zavuv::net {

namespace {

// Detaches a table's views while it is refilled, also when the fill fails.
class Detached {
 public:
  explicit Detached(Table& table) : table_(table) { table_.DisableControls(); }
  ~Detached() { table_.EnableControls(); }
  Detached(const Detached&) = delete;
  Detached& operator=(const Detached&) = delete;

 private:
  Table& table_;
};

FieldDef Date(const char* name) { return {name, FieldType::DateTime, 0, "上載日期", 10}; }

}  // namespace

Sharing::Sharing()
    : PrivateData({Date("UpLoadDate"),
                   {"DataIDNo", FieldType::Integer},
                   {"ShoesName", FieldType::String, 20, "靴名"},
                   {"Info", FieldType::String, 50, "資料說明"},
                   {"DataType", FieldType::String, 10}}),
      Article({Date("UpLoadDate"),
               {"DataIDNo", FieldType::Integer},
               {"NickName", FieldType::String, 20, "作者"},
               {"Title", FieldType::String, 50, "文章標題"}}) {}

void Sharing::ListTable::SetLabel(std::string_view field, std::string label) {
  fields_.at(FieldIndex(field)).label = std::move(label);
  NotifyReset();
}

void Sharing::FillDataList(std::string_view command, std::string_view arguments) {
  std::string kind;
  if (command == "GETPRIVATEDATALISTOK") {
    kind = "DATA";
    InfoColumnTitle = "資料說明";
  } else if (command == "GETPRIVATEBETLISTOK") {
    kind = "BET";
    InfoColumnTitle = "投注法說明";
  } else if (command == "GETPRIVATEBETAMOUNTLISTOK") {
    kind = "BETAMOUNT";
    InfoColumnTitle = "注碼法說明";
  } else {
    return;
  }
  Detached detached(PrivateData);
  PrivateData.EmptyDataSet();
  PrivateData.SetLabel("Info", InfoColumnTitle);
  ShoesNameColumnVisible = kind == "DATA";
  const int type = PrivateData.FieldIndex("DataType");
  for (const std::string& row : DecodeCommaText(arguments)) {
    AppendRecord(PrivateData, DecodeCommaText(row));
    PrivateData.SetValueAt(PrivateData.RecordCount() - 1, type, kind);
  }
  PrivateData.First();
}

void Sharing::FillArticleList(std::string_view arguments) {
  Detached detached(Article);
  Article.EmptyDataSet();
  for (const std::string& row : DecodeCommaText(arguments)) AppendRecord(Article, DecodeCommaText(row));
  Article.First();
}

void Sharing::AppendDownloadedShoe(ClientDataSet& shoes, std::string_view arguments) {
  // The note is no column of the shoe grid, so a download does not fill it.
  StringList items;
  for (std::string& item : DecodeCommaText(arguments)) {
    std::string_view name = std::string_view(item).substr(0, item.find('='));
    if (!EqualNoCase(name, "ShoesInfo")) items.push_back(std::move(item));
  }
  AppendRecord(shoes, items);
}

void Sharing::ShowArticle(std::string_view arguments) {
  StringList items = DecodeCommaText(arguments);
  ArticleTitle = Big5ToUtf8(RecordValue(items, "TITLE"));
  ArticleLines.clear();
  for (const std::string& line : DecodeCommaText(RecordValue(items, "ARTICLE")))
    ArticleLines.push_back(Big5ToUtf8(line));
  ArticleModified = false;
}

bool Sharing::HandleReply(std::string_view command, std::string_view arguments, ClientDataSet& shoes) {
  if (command == "GETPRIVATEDATALISTOK" || command == "GETPRIVATEBETLISTOK" ||
      command == "GETPRIVATEBETAMOUNTLISTOK")
    FillDataList(command, arguments);
  else if (command == "GETARTICLELISTOK")
    FillArticleList(arguments);
  else if (command == "GETPRIVATEDATAOK")
    AppendDownloadedShoe(shoes, arguments);
  else if (command == "GETARTICLEOK")
    ShowArticle(arguments);
  else if (command != "GETPRIVATEBETOK" && command != "GETPRIVATEBETAMOUNTOK")
    return false;
  return true;
}

void Sharing::GetList(const std::string& command, const SendCommandFunction& send) { send(command, ""); }

void Sharing::BtnUsePrivateDataClick(const SendCommandFunction& send) const {
  if (PrivateData.IsEmpty()) return;
  send("GETPRIVATE" + AsString(PrivateData.FieldValue("DataType")),
       std::to_string(AsInteger(PrivateData.FieldValue("DataIDNo"))));
}

void Sharing::BtnDownloadArticleClick(const SendCommandFunction& send) const {
  if (Article.IsEmpty()) return;
  send("GETARTICLE", std::to_string(AsInteger(Article.FieldValue("DataIDNo"))));
}

std::string Sharing::ArticleData(const std::string& title, const std::vector<std::string>& lines) {
  return EncodeCommaText({"TITLE=" + title, "ARTICLE=" + EncodeCommaText(lines)});
}

void Sharing::BtnShareArticleToServerClick(const SendCommandFunction& send) {
  if (ArticleTitle.empty()) throw std::runtime_error(kEmptyTitle);
  if (!ArticleModified) return;
  send("SHAREARTICLE", ArticleData(ArticleTitle, ArticleLines));
  ArticleModified = false;
}

}  // namespace zavuv::net
