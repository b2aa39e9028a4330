#include <openssl/sha.h>

#include <array>
#include <cstdio>
#include <string>

#include "site/catalogue.h"
#include "site/image_content.h"

namespace zendra::site {
namespace {

// Made-up products only. `stem` names the files; `editions` is how many builds each
// language ships (x64, x86, arm64 in this order); `languages` how many of the pool.
struct ProductSeed {
  const char* name;
  const char* stem;
  int languages;
  int editions;
};

struct CategorySeed {
  const char* name;
  const char* extension;
  bool bigImages;  // operating systems and suites weigh gigabytes
  std::vector<ProductSeed> products;
};

struct LanguageSeed {
  const char* code;
  const char* name;
};

// Simplified Chinese first: the site's own audience, and every list starts with it.
constexpr std::array<LanguageSeed, 8> kLanguages{{
    {"zh-cn", "简体中文"},
    {"en-us", "English"},
    {"zh-tw", "繁體中文"},
    {"ja-jp", "日本語"},
    {"de-de", "Deutsch"},
    {"ru-ru", "Русский"},
    {"it-it", "Italiano"},
    {"sv-se", "Svenska"},
}};

const std::vector<CategorySeed>& Seeds() {
  static const std::vector<CategorySeed> seeds{
      {"Zendra 操作系统",
       "iso",
       true,
       {{"Zendra 11 专业版 (23H2)", "zendra_11_pro_23h2", 5, 2},
        {"Zendra 11 家庭版 (23H2)", "zendra_11_home_23h2", 4, 2},
        {"Zendra 11 企业版 (22H2)", "zendra_11_enterprise_22h2", 3, 3},
        {"Zendra 10 专业版 (21H2)", "zendra_10_pro_21h2", 5, 2},
        {"Zendra 10 教育版 (21H2)", "zendra_10_education_21h2", 2, 2},
        {"Zendra 10 LTSC 2021", "zendra_10_ltsc_2021", 3, 2},
        {"Zendra 8.1 with Update", "zendra_8_1_update", 4, 2},
        {"Zendra 7 旗舰版 SP1", "zendra_7_ultimate_sp1", 3, 2}}},
      {"Zendra 服务器",
       "iso",
       true,
       {{"Zendra 服务器 2022 数据中心版", "zendra_server_2022_datacenter", 4, 1},
        {"Zendra 服务器 2022 标准版", "zendra_server_2022_standard", 4, 1},
        {"Zendra 服务器 2019", "zendra_server_2019", 5, 1},
        {"Zendra 服务器 2016", "zendra_server_2016", 3, 1},
        {"Zendra 服务器 2012 R2", "zendra_server_2012_r2", 3, 1},
        {"Zendra 存储服务器 2019", "zendra_storage_server_2019", 2, 1},
        {"Zendra 边缘服务器 (版本 2004)", "zendra_edge_server_2004", 2, 1},
        {"Zendra Hyper Host 2019", "zendra_hyper_host_2019", 2, 1}}},
      {"Lumen Office 办公套件",
       "img",
       true,
       {{"Lumen Office 2021 专业增强版", "lumen_office_2021_pro_plus", 5, 2},
        {"Lumen Office 2019 专业版", "lumen_office_2019_pro", 4, 2},
        {"Lumen Office 2016 家庭和学生版", "lumen_office_2016_home_student", 3, 2},
        {"Lumen Office 2013 标准版", "lumen_office_2013_standard", 3, 2},
        {"Lumen Visio 2021 专业版", "lumen_visio_2021_pro", 2, 2},
        {"Lumen Project 2021 专业版", "lumen_project_2021_pro", 2, 2},
        {"Lumen Mail Server 2019", "lumen_mail_server_2019", 2, 1},
        {"Lumen Docs for Mac 2019", "lumen_docs_mac_2019", 2, 1}}},
      {"开发工具",
       "exe",
       false,
       {{"Orbis Studio 2022 社区版", "orbis_studio_2022_community", 5, 1},
        {"Orbis Studio 2022 专业版", "orbis_studio_2022_professional", 4, 1},
        {"Orbis Studio 2019 企业版", "orbis_studio_2019_enterprise", 3, 1},
        {"Orbis Studio 2017", "orbis_studio_2017", 3, 1},
        {"Orbis Code Build Tools 2022", "orbis_build_tools_2022", 2, 2},
        {"Orbis Test Agent 2019", "orbis_test_agent_2019", 2, 1},
        {"Orbis Studio 2012 (已停止支持)", "orbis_studio_2012", 0, 1},
        {"Orbis SDK 10.0.22621", "orbis_sdk_10_0_22621", 2, 3}}},
      {"数据库",
       "iso",
       true,
       {{"Quarry SQL Server 2022 企业版", "quarry_sql_2022_enterprise", 4, 1},
        {"Quarry SQL Server 2019 标准版", "quarry_sql_2019_standard", 4, 1},
        {"Quarry SQL Server 2017 开发者版", "quarry_sql_2017_developer", 3, 1},
        {"Quarry SQL Server 2016 SP3", "quarry_sql_2016_sp3", 3, 1},
        {"Quarry SQL Express 2019", "quarry_sql_express_2019", 5, 2},
        {"Quarry Reporting Services 2019", "quarry_reporting_2019", 2, 1},
        {"Quarry Analysis Tools 2022", "quarry_analysis_2022", 2, 1},
        {"Quarry Data Gateway 2021", "quarry_data_gateway_2021", 2, 1}}},
      {"多媒体与设计",
       "zip",
       false,
       {{"Prism 影音工作室 2023", "prism_media_studio_2023", 4, 2},
        {"Prism Photo Editor 12", "prism_photo_editor_12", 3, 2},
        {"Prism 3D Builder 2021", "prism_3d_builder_2021", 2, 1},
        {"Prism Movie Maker 6", "prism_movie_maker_6", 4, 2},
        {"Prism Sound Forge Lite", "prism_sound_forge_lite", 2, 2},
        {"Prism 字体包 2020", "prism_font_pack_2020", 2, 1},
        {"Prism Vector Draw 8", "prism_vector_draw_8", 3, 2},
        {"Prism Screen Recorder 5", "prism_screen_recorder_5", 2, 1}}},
      {"安全与维护",
       "exe",
       false,
       {{"Aegis 防护中心 2023", "aegis_defender_2023", 5, 2},
        {"Aegis 离线扫描工具", "aegis_offline_scanner", 3, 2},
        {"Aegis BitGuard 加密工具 3", "aegis_bitguard_3", 2, 2},
        {"Aegis 系统修复盘 2022", "aegis_recovery_disk_2022", 4, 2},
        {"Aegis Firewall Manager 7", "aegis_firewall_manager_7", 2, 1},
        {"Aegis Update Assistant", "aegis_update_assistant", 3, 1},
        {"Aegis Backup Suite 2019", "aegis_backup_suite_2019", 2, 2},
        {"Aegis 驱动程序包 2021", "aegis_driver_pack_2021", 3, 3}}},
      {"虚拟化与云",
       "vhdx",
       true,
       {{"Nimbus 虚拟机模板 2023", "nimbus_vm_template_2023", 3, 1},
        {"Nimbus Container Host 2022", "nimbus_container_host_2022", 2, 1},
        {"Nimbus 云桌面 2021", "nimbus_cloud_desktop_2021", 4, 1},
        {"Nimbus Stack HCI 22H2", "nimbus_stack_hci_22h2", 3, 1},
        {"Nimbus 开发环境镜像", "nimbus_dev_environment", 2, 2},
        {"Nimbus Edge Gateway 1.4", "nimbus_edge_gateway_1_4", 2, 2},
        {"Nimbus Lab Kit 2020", "nimbus_lab_kit_2020", 2, 1},
        {"Nimbus 迁移助手 3", "nimbus_migration_assistant_3", 3, 1}}},
      {"教育与语言包",
       "cab",
       false,
       {{"Zendra 11 语言包 (23H2)", "zendra_11_language_pack_23h2", 5, 2},
        {"Zendra 10 语言包 (21H2)", "zendra_10_language_pack_21h2", 5, 2},
        {"Lumen Office 2021 校对工具", "lumen_office_2021_proofing", 4, 1},
        {"Orbis 课堂套件 2022", "orbis_classroom_2022", 3, 1},
        {"Zendra 输入法扩展包", "zendra_ime_extension", 2, 2},
        {"Lumen 学习工具 2020", "lumen_learning_tools_2020", 2, 1},
        {"Zendra 功能按需包 (23H2)", "zendra_features_on_demand_23h2", 3, 2},
        {"Prism 教学素材库", "prism_teaching_library", 2, 1}}},
  };
  return seeds;
}

std::array<unsigned char, SHA_DIGEST_LENGTH> Digest(const std::string& seed) {
  std::array<unsigned char, SHA_DIGEST_LENGTH> digest{};
  SHA1(reinterpret_cast<const unsigned char*>(seed.data()), seed.size(), digest.data());
  return digest;
}

std::string Hex(const unsigned char* bytes, std::size_t count, const char* digits) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

// A GUID-shaped id that stays the same from run to run.
std::string MakeId(const std::string& seed) {
  const auto hex = Hex(Digest(seed).data(), 16, "0123456789abcdef");
  return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
         hex.substr(16, 4) + "-" + hex.substr(20, 12);
}

std::uint64_t Number(const std::string& seed) {
  const auto digest = Digest(seed);
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | digest[i];
  return value;
}

std::string PostDate(const std::string& seed) {
  const auto value = Number("date:" + seed);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", 2015 + static_cast<int>(value % 9),
                1 + static_cast<int>(value / 9 % 12), 1 + static_cast<int>(value / 108 % 28));
  return text;
}

CatalogueFile MakeFile(const std::string& fileName, bool bigImage) {
  // Big images are the largest size the site serves (ten-digit byte counts); tools vary.
  const std::size_t sizeClass = bigImage ? kImageSizes.size() - 1 : Number("size:" + fileName) % 3;
  const auto size = ImageSize(fileName, sizeClass);
  return {MakeId("file:" + fileName), fileName, ImageSha1(fileName, size), size,
          PostDate(fileName)};
}

}  // namespace

Catalogue BundledCatalogue() {
  static constexpr std::array<const char*, 3> kEditions{"x64", "x86", "arm64"};
  Catalogue catalogue;
  std::size_t rotation = 0;
  for (const auto& categorySeed : Seeds()) {
    CatalogueCategory category{
        MakeId(std::string("category:") + categorySeed.name), categorySeed.name, {}};
    for (const auto& productSeed : categorySeed.products) {
      CatalogueProduct product{
          MakeId(std::string("product:") + productSeed.stem), productSeed.name, {}};
      for (int l = 0; l < productSeed.languages; ++l) {
        // Simplified Chinese always, then a rotating pick of the others.
        const auto& language =
            kLanguages[l == 0 ? 0 : 1 + (rotation + l - 1) % (kLanguages.size() - 1)];
        CatalogueLanguage entry{MakeId(product.id + ":" + language.code), language.name, {}};
        for (int e = 0; e < productSeed.editions; ++e) {
          const std::string base =
              std::string(language.code) + "_" + productSeed.stem + "_" + kEditions[e];
          const std::string fileName =
              base + "_" + MakeId(base).substr(0, 6) + "." + categorySeed.extension;
          entry.files.push_back(MakeFile(fileName, categorySeed.bigImages));
        }
        product.languages.push_back(std::move(entry));
      }
      ++rotation;
      category.products.push_back(std::move(product));
    }
    catalogue.categories.push_back(std::move(category));
  }
  return catalogue;
}

void SetFirstFileCount(Catalogue& catalogue, std::size_t count) {
  if (catalogue.categories.empty() || catalogue.categories.front().products.empty()) return;
  auto& languages = catalogue.categories.front().products.front().languages;
  if (languages.empty() || languages.front().files.empty()) return;
  auto& files = languages.front().files;
  // More builds of the first file: its name with a build number before the extension.
  const std::string first = files.front().fileName;
  const auto dot = first.rfind('.');
  const std::string stem = first.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : first.substr(dot);
  const bool bigImage = files.front().size >= 3'000'000'000LL;
  for (std::size_t n = files.size(); n < count; ++n) {
    files.push_back(MakeFile(stem + "_build" + std::to_string(n + 1) + extension, bigImage));
  }
  files.resize(count);
}

}  // namespace zendra::site
