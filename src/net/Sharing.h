// The sharing page "分享下載": the lists of a user's uploaded items and of the shared
// articles, the requests that fetch and download them, the handling of the server's
// replies, and the article being read or written.
//
// Table texts are Big5 bytes, as they came from the server; the article's title and
// lines are UTF-8 for the page's edit boxes. Requests are handed to a send function
// taking a command and its data as UTF-8 (the connection's SendCommand, which
// converts them to the command's encoding and refuses when it is down).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "table/ClientDataSet.h"

namespace zavuv::net {

using SendCommandFunction = std::function<void(const std::string& command, const std::string& data)>;

class Sharing {
 public:
  Sharing();

  // A list table whose column titles follow the list shown.
  class ListTable : public ClientDataSet {
   public:
    using ClientDataSet::ClientDataSet;
    void SetLabel(std::string_view field, std::string label);
  };

  // ClientDataSetPrivateData: UpLoadDate, DataIDNo, ShoesName, Info, DataType. The
  // Info field's label is the description column's title.
  ListTable PrivateData;
  // ClientDataSetArticle: UpLoadDate, DataIDNo, NickName, Title.
  ClientDataSet Article;
  // The private list's grid: the shoe name column is shown for shoe data only, and
  // the description column's title follows the kind of list.
  bool ShoesNameColumnVisible = true;
  std::string InfoColumnTitle = "資料說明";

  // The article box: title (at most 50 characters), lines, and whether the user
  // has changed it since it was last filled or shared (the page sets it on edits).
  std::string ArticleTitle;
  std::vector<std::string> ArticleLines;
  bool ArticleModified = false;

  static constexpr const char* kEmptyTitle = "文章標題空白";

  // Replies (from the dispatcher). FillDataList takes "GETPRIVATEDATALISTOK",
  // "GETPRIVATEBETLISTOK" or "GETPRIVATEBETAMOUNTLISTOK".
  void FillDataList(std::string_view command, std::string_view arguments);
  void FillArticleList(std::string_view arguments);
  // A downloaded shoe's record text appended to the shoe table (ShoesData's table):
  // only its name and result; the note stays empty. The table's checks and refresh
  // run on the post.
  static void AppendDownloadedShoe(ClientDataSet& shoes, std::string_view arguments);
  void ShowArticle(std::string_view arguments);
  // Any sharing reply; false when the command is none of them.
  bool HandleReply(std::string_view command, std::string_view arguments, ClientDataSet& shoes);

  // ---- the page's buttons ----
  // The four list buttons: "GETPRIVATEDATALIST", "GETPRIVATEBETLIST",
  // "GETPRIVATEBETAMOUNTLIST" or "GETARTICLELIST", with empty data.
  static void GetList(const std::string& command, const SendCommandFunction& send);
  // "下載使用": GETPRIVATE + the current row's kind, with its number; nothing when the
  // list is empty.
  void BtnUsePrivateDataClick(const SendCommandFunction& send) const;
  // "下載文章閱讀": GETARTICLE with the current article's number.
  void BtnDownloadArticleClick(const SendCommandFunction& send) const;
  // "放到伺服器分享": an empty title is an error (kEmptyTitle); an article that has not
  // changed since it was last filled or shared is not sent again.
  void BtnShareArticleToServerClick(const SendCommandFunction& send);
  // The data of SHAREARTICLE: the comma text of "TITLE=" + title and "ARTICLE=" +
  // the comma text of the lines.
  static std::string ArticleData(const std::string& title, const std::vector<std::string>& lines);
};

}  // namespace zavuv::net
