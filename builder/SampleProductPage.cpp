#include "builder/SampleProductPage.h"

#include "engine/Cp1252.h"

#include <set>

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

} // namespace

std::string productsPage(const SampleCatalog& catalog, const int32_t listings[3])
{
    const int64_t total = static_cast<int64_t>(listings[0]) + listings[1] + listings[2];
    std::string page;
    page += "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<title>Productos Ortelia</title>\n";
    page += "<style>\nbody { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; color: #222; "
            "background: #f4f4f4; margin: 16px; }\n"
            "h1 { color: #0b3d91; font-size: 16pt; } h2 { color: #c8102e; font-size: 12pt; margin-top: 20px; }\n"
            "table { border-collapse: collapse; background: #fff; } td, th { border: 1px solid #ccc; "
            "padding: 4px 8px; text-align: left; }\nth { background: #0b3d91; color: #fff; }\n"
            "td.n { text-align: right; }\n</style>\n</head>\n<body>\n";
    page += "<h1>Ortelia: guía telefónica, comercial y profesional de la República Argentina</h1>\n";
    page += "<p>Todos los abonados del país en una sola consulta: busque por nombre, por domicilio o por "
            "teléfono, en todo el país o en una provincia, una localidad o un rubro.</p>\n";

    page += "<h2>Edición nacional</h2>\n<p>Incluye las tres guías, los organismos oficiales de las " +
            std::to_string(catalog.provinces.size()) +
            " provincias, los códigos de discado nacional e internacional y los números útiles.</p>\n";
    page += "<table>\n<tr><th>Guía</th><th>Registros</th></tr>\n";
    const char* guideNames[3] = {"Guía alfabética", "Guía comercial (por rubro)", "Guía profesional (por rubro)"};
    for (int g = 0; g < 3; ++g)
        page +=
            std::string("<tr><td>") + guideNames[g] + "</td><td class=\"n\">" + grouped(listings[g]) + "</td></tr>\n";
    page += "<tr><td><b>Total</b></td><td class=\"n\"><b>" + grouped(total) + "</b></td></tr>\n</table>\n";

    page += "<h2>Ediciones regionales</h2>\n<p>Cada guía regional reúne las localidades de su zona:</p>\n";
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
    page += "<h2>Requisitos</h2>\n<ul>\n<li>Computadora personal con lectora de CD-ROM.</li>\n"
            "<li>Pantalla de 800 x 600 puntos o más.</li>\n<li>Para los servicios en línea, una conexión a "
            "Internet.</li>\n</ul>\n";
    page += "</body>\n</html>\n";
    return page;
}

} // namespace sample
