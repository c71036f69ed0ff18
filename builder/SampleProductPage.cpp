#include "builder/SampleProductPage.h"

#include "engine/Cp1252.h"

#include <cstdint>
#include <set>
#include <string_view>

namespace sample {
namespace {

// "1.234.567", as numbers are written in Argentina.
std::string grouped(int64_t value)
{
    std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += '.';
        out += digits[i];
    }
    return out;
}

std::string html(const std::string& windows1252)
{
    std::string out;
    for (const char ch : cp1252::toUtf8(windows1252)) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string base64(std::string_view bytes)
{
    static const char* const kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const auto v = (static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16) |
                       (static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
        for (int k = 3; k >= 0; --k)
            out += kDigits[(v >> (6 * k)) & 63];
    }
    if (i < bytes.size()) {
        uint32_t v = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out += kDigits[(v >> 18) & 63];
        out += kDigits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// A picture of the page, carried inside it: the data set ships one file for the page.
std::string picture(std::string_view svg, const char* alt, int width, int height, const char* cssClass)
{
    return "<img class=\"" + std::string(cssClass) + "\" alt=\"" + alt + "\" width=\"" + std::to_string(width) +
           "\" height=\"" + std::to_string(height) + "\" src=\"data:image/svg+xml;base64," + base64(svg) + "\">";
}

// The boxed disc of the national edition.
constexpr std::string_view kBoxPicture =
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="220" height="250" viewBox="0 0 220 250">
<defs><linearGradient id="c" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="#1d5fbf"/>
<stop offset="1" stop-color="#0b2d66"/></linearGradient>
<radialGradient id="d" cx="0.4" cy="0.35" r="0.7"><stop offset="0" stop-color="#ffffff"/>
<stop offset="0.45" stop-color="#d9e4f2"/><stop offset="0.7" stop-color="#f5d9ef"/><stop offset="1" stop-color="#b9c9de"/></radialGradient></defs>
<rect x="26" y="14" width="180" height="224" rx="6" fill="#000" opacity="0.18"/>
<rect x="16" y="6" width="180" height="224" rx="6" fill="url(#c)"/>
<rect x="16" y="6" width="14" height="224" rx="4" fill="#082350"/>
<circle cx="112" cy="104" r="62" fill="url(#d)" stroke="#8aa2c4" stroke-width="2"/>
<circle cx="112" cy="104" r="16" fill="#0b2d66" stroke="#c7d3e6" stroke-width="4"/>
<text x="112" y="196" font-family="Arial" font-size="22" font-weight="bold" fill="#fff" text-anchor="middle">Ortelia</text>
<text x="112" y="216" font-family="Arial" font-size="10" fill="#ffd34d" text-anchor="middle">EDICIÓN NACIONAL · CD-ROM</text>
</svg>)svg";

// The publisher's emblem in the page header.
constexpr std::string_view kLogoPicture =
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
<circle cx="24" cy="24" r="21" fill="#ffd34d"/><circle cx="24" cy="24" r="21" fill="none" stroke="#fff" stroke-width="2"/>
<path d="M24 3 C14 14 14 34 24 45 M24 3 C34 14 34 34 24 45 M3 24 H45 M7 13 H41 M7 35 H41" fill="none" stroke="#0b2d66" stroke-width="2"/>
</svg>)svg";

// Small pictures of the three guides and the extra services.
std::string icon(const char* colour, const char* glyph)
{
    return std::string(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="56" height="56" viewBox="0 0 56 56">)svg") +
           "<rect x=\"2\" y=\"2\" width=\"52\" height=\"52\" rx=\"12\" fill=\"" + colour + "\"/>" + glyph + "</svg>";
}

const char* const kBookGlyph =
    R"svg(<path d="M14 16 h12 a4 4 0 0 1 4 4 v22 a4 4 0 0 0 -4 -4 h-12z M42 16 h-12 v26 a4 4 0 0 1 4 -4 h8z" fill="#fff"/>)svg";
const char* const kShopGlyph =
    R"svg(<path d="M12 24 l4 -10 h24 l4 10z M14 26 h28 v16 h-28z" fill="#fff"/><rect x="24" y="32" width="8" height="10" fill="#c8102e"/>)svg";
const char* const kCaseGlyph =
    R"svg(<rect x="12" y="20" width="32" height="22" rx="3" fill="#fff"/><path d="M22 20 v-4 h12 v4" stroke="#fff" stroke-width="3" fill="none"/>)svg";
const char* const kPhoneGlyph =
    R"svg(<path d="M18 14 l6 0 l3 8 l-4 3 c2 5 5 8 10 10 l3 -4 l8 3 l0 6 c-14 2 -28 -12 -26 -26z" fill="#fff"/>)svg";

} // namespace

std::string productsPage(const SampleCatalog& catalog, const int32_t listings[3])
{
    const int64_t total = static_cast<int64_t>(listings[0]) + listings[1] + listings[2];
    std::string page;
    page += "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<title>Productos Ortelia</title>\n";
    page += "<style>\n"
            "* { box-sizing: border-box; }\n"
            "body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; color: #222; background: #eef1f5; "
            "margin: 0; }\n"
            "header { background: linear-gradient(#174e9e, #0b2d66); color: #fff; padding: 10px 24px; display: flex; "
            "align-items: center; gap: 12px; }\n"
            "header .brand { font-size: 20pt; font-weight: bold; letter-spacing: 1px; }\n"
            "header nav { margin-left: auto; } header nav a { color: #ffd34d; margin-left: 18px; text-decoration: "
            "none; font-weight: bold; }\n"
            ".hero { display: flex; gap: 28px; align-items: center; background: #fff; margin: 16px 24px; padding: "
            "18px 24px; border-radius: 8px; box-shadow: 0 1px 4px rgba(0,0,0,.15); }\n"
            ".hero h1 { color: #0b2d66; font-size: 17pt; margin: 0 0 8px 0; }\n"
            ".hero .price { display: inline-block; background: #c8102e; color: #fff; font-weight: bold; padding: "
            "6px 14px; border-radius: 16px; margin-top: 8px; }\n"
            "main { margin: 0 24px 16px 24px; }\n"
            "h2 { color: #c8102e; font-size: 12pt; margin: 18px 0 8px 0; }\n"
            ".cards { display: grid; grid-template-columns: repeat(4, 1fr); gap: 12px; }\n"
            ".card { background: #fff; border-radius: 8px; padding: 12px; box-shadow: 0 1px 3px rgba(0,0,0,.12); }\n"
            ".card h3 { margin: 8px 0 4px 0; font-size: 11pt; color: #0b2d66; } .card p { margin: 0; }\n"
            "table { border-collapse: collapse; background: #fff; width: 100%; }\n"
            "td, th { border: 1px solid #d5dbe3; padding: 4px 8px; text-align: left; }\n"
            "th { background: #0b2d66; color: #fff; } tr:nth-child(even) td { background: #f6f8fb; }\n"
            "td.n { text-align: right; }\n"
            "footer { background: #0b2d66; color: #c7d3e6; padding: 10px 24px; font-size: 9pt; }\n"
            "footer a { color: #ffd34d; }\n"
            "</style>\n</head>\n<body>\n";
    page += "<header>" + picture(kLogoPicture, "Ortelia", 48, 48, "logo") +
            "<span class=\"brand\">Ortelia</span><span>Guías telefónicas en CD-ROM</span>"
            "<nav><a href=\"#guias\">Guías</a><a href=\"#regionales\">Ediciones regionales</a>"
            "<a href=\"#requisitos\">Requisitos</a></nav></header>\n";
    page += "<div class=\"hero\">" + picture(kBoxPicture, "Ortelia edición nacional", 220, 250, "box") +
            "<div><h1>Ortelia: guía telefónica, comercial y profesional de la República Argentina</h1>\n"
            "<p>Todos los abonados del país en una sola consulta: busque por nombre, por domicilio o por "
            "teléfono, en todo el país o en una provincia, una localidad o un rubro.</p>\n"
            "<p>Incluye las tres guías, los organismos oficiales de las " +
            std::to_string(catalog.provinces.size()) +
            " provincias, los códigos de discado nacional e internacional y los números útiles.</p>\n"
            "<span class=\"price\">" +
            grouped(total) + " registros en un solo disco</span></div></div>\n<main>\n";

    page += "<h2 id=\"guias\">Edición nacional</h2>\n<div class=\"cards\">\n";
    const char* guideNames[3] = {"Guía alfabética", "Guía comercial", "Guía profesional"};
    const char* guideText[3] = {"Particulares y empresas por orden alfabético.", "Comercios e industrias por rubro.",
                                "Profesionales por especialidad."};
    const char* colours[3] = {"#174e9e", "#c8102e", "#2e7d32"};
    const char* glyphs[3] = {kBookGlyph, kShopGlyph, kCaseGlyph};
    for (int g = 0; g < 3; ++g) {
        page += std::string("<div class=\"card\">") +
                picture(icon(colours[g], glyphs[g]), guideNames[g], 56, 56, "icon") + "<h3>" + guideNames[g] +
                "</h3><p>" + guideText[g] + "</p><p><b>" + grouped(listings[g]) + "</b> registros</p></div>\n";
    }
    page += "<div class=\"card\">" + picture(icon("#f39c12", kPhoneGlyph), "Servicios", 56, 56, "icon") +
            "<h3>Además</h3><p>Organismos oficiales, discado nacional e internacional, números útiles y su "
            "agenda personal.</p></div>\n</div>\n";

    page += "<h2 id=\"regionales\">Ediciones regionales</h2>\n<p>Cada guía regional reúne las localidades de su "
            "zona:</p>\n";
    page += "<table>\n<tr><th>Guía</th><th>Provincias</th><th>Localidades</th></tr>\n";
    for (const SampleGuide& g : catalog.guides) {
        std::set<int32_t> provinces;
        int localities = 0;
        for (const SampleLocality& l : catalog.localities) {
            if (l.guide == g.id) {
                provinces.insert(l.province);
                ++localities;
            }
        }
        std::string names;
        for (const int32_t p : provinces) {
            if (!names.empty())
                names += ", ";
            names += html(catalog.provinces[static_cast<size_t>(p - 1)].name);
        }
        page += "<tr><td>" + html(g.name) + "</td><td>" + names + "</td><td class=\"n\">" + std::to_string(localities) +
                "</td></tr>\n";
    }
    page += "</table>\n";

    page += "<h2>Avisos</h2>\n<p>Los anunciantes de las guías comercial y profesional muestran su aviso con un "
            "doble clic sobre el registro. Para anunciar en la próxima edición consulte a su distribuidor.</p>\n";
    page += "<h2 id=\"requisitos\">Requisitos</h2>\n<ul>\n<li>Computadora personal con lectora de CD-ROM.</li>\n"
            "<li>Pantalla de 800 x 600 puntos o más.</li>\n<li>Para los servicios en línea, una conexión a "
            "Internet.</li>\n</ul>\n</main>\n";
    page += "<footer>Ortelia · Guías telefónicas de la República Argentina · "
            "<a href=\"http://www.ortelia.example/\">www.ortelia.example</a></footer>\n";
    page += "</body>\n</html>\n";
    return page;
}

} // namespace sample
