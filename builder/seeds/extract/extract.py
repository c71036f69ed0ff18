#!/usr/bin/env python3
"""Regenerates the seed TSVs in builder/seeds/ from installed Debian packages.

Run through extract.sh, which installs the packages and builds phonedump.
Output is deterministic: every table is sorted on an explicit key, nothing
depends on time, locale or hash order. The hand-curated tables (rubros.tsv,
company_words.tsv) are not generated; they are validated and re-sorted in place.
"""
import argparse
import json
import subprocess
import sys
import unicodedata
from collections import defaultdict
from pathlib import Path

import yaml

FAKER_YML = Path("/usr/share/rubygems-integration/all/gems/faker-2.21.0/lib/locales/es-AR.yml")
ISO_3166_2 = Path("/usr/share/iso-codes/json/iso_3166-2.json")
MAX_TOTAL_BYTES = 1_000_000

problems = []      # fatal validation failures, reported together at the end
transliterated = []  # (file, original, replacement) for SOURCES.md


def fail(msg):
    problems.append(msg)


def fold(s):
    """Sort/compare key: accents stripped, case folded, Ñ kept after N."""
    s = s.replace("ñ", "n\uffff").replace("Ñ", "N\uffff")
    s = "".join(c for c in unicodedata.normalize("NFD", s) if unicodedata.category(c) != "Mn")
    return s.casefold()


def sort_key(s):
    return (fold(s), s)


def to_cp1252(text, where):
    """Returns text if Windows-1252 can hold it, else a transliteration, else None."""
    try:
        text.encode("cp1252")
        return text
    except UnicodeEncodeError:
        pass
    out = []
    for ch in text:
        try:
            ch.encode("cp1252")
            out.append(ch)
        except UnicodeEncodeError:
            base = "".join(c for c in unicodedata.normalize("NFKD", ch) if unicodedata.category(c) != "Mn")
            try:
                base.encode("cp1252")
                out.append(base)
            except UnicodeEncodeError:
                transliterated.append((where, text, None))
                return None
    result = "".join(out)
    transliterated.append((where, text, result))
    return result


def write_tsv(out_dir, name, header, rows):
    lines = ["\t".join(header)]
    for row in rows:
        cells = []
        for cell in row:
            cell = str(cell)
            if "\t" in cell or "\n" in cell or "\r" in cell:
                fail(f"{name}: control character in {cell!r}")
            cells.append(cell)
        if len(cells) != len(header):
            fail(f"{name}: row {row!r} has {len(cells)} cells, header has {len(header)}")
        lines.append("\t".join(cells))
    data = ("\n".join(lines) + "\n").encode("utf-8")
    data.decode("utf-8").encode("cp1252")  # every row already passed to_cp1252
    (out_dir / name).write_bytes(data)
    print(f"{name}: {len(rows)} rows, {len(data)} bytes")


def read_tsv(path):
    lines = path.read_text(encoding="utf-8").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    header = lines[0].split("\t")
    rows = [l.split("\t") for l in lines[1:]]
    for r in rows:
        if len(r) != len(header):
            fail(f"{path.name}: bad row {r!r}")
    return header, rows


def phonedump(exe, *args):
    out = subprocess.run([exe, *args], check=True, capture_output=True, text=True, encoding="utf-8").stdout
    return [line.split("\t") for line in out.splitlines() if line]


def zipf(rank):
    """Synthetic Zipf-Mandelbrot weight (s=1, q=2) for a 1-based rank."""
    return round(10000 / (rank + 2))


def ranked(names, top, what):
    """Ranks names: hand-ranked `top` first, then the rest alphabetically at the weight of
    the first unranked position (a flat tail)."""
    pool = set(names)
    for t in top:
        if t not in pool:
            fail(f"{what}: hand-ranked {t!r} is not in the source list")
    if len(set(top)) != len(top):
        fail(f"{what}: duplicate in hand ranking")
    rest = sorted(pool - set(top), key=sort_key)
    tail = zipf(len(top) + 1)
    out = [(n, i + 1, zipf(i + 1)) for i, n in enumerate(top)]
    out += [(n, len(top) + 1 + i, tail) for i, n in enumerate(rest)]
    return out


# ---------------------------------------------------------------- provinces

def provinces(faker):
    iso = json.loads(ISO_3166_2.read_text(encoding="utf-8"))["3166-2"]
    ar = sorted((e for e in iso if e["code"].startswith("AR-")), key=lambda e: e["code"])
    if len(ar) != 24:
        fail(f"iso-codes: expected 24 AR subdivisions, got {len(ar)}")
    addr = faker["address"]
    by_name = {}
    for name, abbr, iata in zip(addr["state"], addr["state_abbr"], addr["state_abbr_iata"]):
        by_name[name] = (abbr, addr["postcode_by_state"][iata])
    rows = []
    for e in ar:
        letter = e["code"][3:]
        abbr, postcode = by_name.get(e["name"], (None, None))
        if abbr is None:
            fail(f"faker has no state named {e['name']!r}")
            continue
        # The CPA province letter is the ISO letter; faker's pattern must agree.
        if not postcode.startswith(letter):
            fail(f"postcode pattern {postcode!r} does not start with {letter}")
        kind = {"Province": "province", "City": "city"}[e["type"]]
        rows.append((e["code"], to_cp1252(e["name"], "provinces"), kind, abbr, postcode))
    return rows


# --------------------------------------------------------------- localities

# Fixes to libgeocoding's 54_es table, keyed by prefix.
AREA_FIXES = {"1": "11", "28": "280"}            # no filler makes these valid numbers
DESCRIPTION_FIXES = {"Cosquin/Córdoba": "Cosquín, Córdoba"}
NAME_FIXES = {"Dpto. Realicó": "Realicó"}
CABA = "AR-C"

# Synthetic weights: the locality a code is named after carries the code's size; others
# sharing the code (suburbs, later prefixes, second names of "A/B") one step down.
HEAD_WEIGHT = {2: 3000, 3: 100, 4: 10}
OTHER_WEIGHT = {2: 100, 3: 10, 4: 3}


def localities(exe, province_rows):
    prov_code = {name: code for code, name, *_ in province_rows}
    raw = phonedump(exe, "table", "54")
    if len(raw) < 300:
        fail(f"54_es table has only {len(raw)} rows")
    fixed = phonedump(exe, "ndc", "54", *sorted(set(AREA_FIXES.values())))
    for pfx, ac, valid in fixed:
        if ac != pfx or valid != "1":
            fail(f"hand-fixed area code {pfx} is not a valid AR area code ({ac})")

    entries = []  # (prefix, name, province_code, area)
    for prefix, desc, area, valid, _table in raw:
        desc = DESCRIPTION_FIXES.get(desc, desc)
        if prefix in AREA_FIXES:
            area = AREA_FIXES[prefix]
        elif valid != "1" or not area:
            fail(f"54_es prefix {prefix} ({desc}) has no valid area code")
            continue
        if desc == "Buenos Aires":
            parts = [("Buenos Aires", CABA)]
        else:
            # "A/B, Prov" names two places in one province; "A, P1/B, P2" two provinces.
            pieces = desc.split("/")
            last_prov = None
            if ", " in pieces[-1]:
                last_prov = pieces[-1].rsplit(", ", 1)[1]
            parts = []
            for piece in pieces:
                if ", " in piece and piece.rsplit(", ", 1)[1] in prov_code:
                    name, prov = piece.rsplit(", ", 1)
                else:
                    name, prov = piece, last_prov
                if prov not in prov_code:
                    fail(f"54_es: unknown province in {desc!r}")
                    break
                parts.append((NAME_FIXES.get(name.strip(), name.strip()), prov_code[prov]))
        for i, (name, pc) in enumerate(parts):
            entries.append((prefix, name, pc, area, i))

    # Head locality per area code: first name of the row with the shortest prefix.
    head = {}
    for prefix, name, pc, area, i in sorted(entries, key=lambda e: (len(e[0]), e[0], e[4])):
        head.setdefault(area, (name, pc))

    loc = defaultdict(set)  # (name, province, area) -> subscriber prefixes
    for prefix, name, pc, area, _ in entries:
        loc[(name, pc, area)].add(prefix[len(area):] if len(prefix) > len(area) else "")

    by_place = defaultdict(list)
    for (name, pc, area) in loc:
        by_place[(name, pc)].append(area)
    for place, areas in by_place.items():
        if len(areas) > 1:
            print(f"note: {place[0]} ({place[1]}) has area codes {sorted(areas)}", file=sys.stderr)

    rows = []
    for (name, pc, area), subs in loc.items():
        name = to_cp1252(name, "localities")
        if name is None:
            continue
        n = len(area)
        weight = HEAD_WEIGHT[n] if head[area] == (name, pc) else OTHER_WEIGHT[n]
        subs = "" if "" in subs else "|".join(sorted(subs))
        rows.append((name, pc, area, 10 - n, weight, subs))
    rows.sort(key=lambda r: (r[1], sort_key(r[0]), r[2]))

    covered = {r[1] for r in rows}
    for code in prov_code.values():
        if code not in covered:
            fail(f"province {code} has no locality")
    if not any(r[0] == "Buenos Aires" and r[1] == CABA and r[2] == "11" for r in rows):
        fail("Buenos Aires (11) is not in CABA")
    return rows


# -------------------------------------------------------------------- names

# Hand ranking of the most frequent names in Argentina among faker's lists
# (general knowledge, not measured); everything else forms a flat tail.
TOP_SURNAMES = """González Rodríguez Gómez Fernández López Díaz Martínez Pérez García Sánchez
Romero Sosa Torres Álvarez Ruiz Ramírez Flores Benítez Acosta Medina Herrera Suárez Aguirre
Giménez Gutiérrez Pereyra Rojas Molina Castro Ortiz Silva Núñez Luna Juárez Cabrera Ríos
Morales Godoy Moreno Ferreyra Domínguez Carrizo Peralta Castillo Ledesma Quiroga Vega Vera
Muñoz Ojeda Ponce Villalba Cardozo Navarro Coronel Vázquez Ramos Vargas Cáceres Arias Figueroa
Córdoba Correa Maldonado Paz Rivero Miranda Mendoza Farías Roldán""".split()
TOP_MALE = ["Juan", "Carlos", "José", "Jorge", "Luis", "Miguel", "Roberto", "Daniel", "Ricardo",
            "Juan Carlos", "Héctor", "Oscar", "Mario", "Raúl", "Alberto", "Eduardo", "Rubén",
            "Hugo", "Sergio", "Guillermo", "Alejandro", "Marcelo", "Diego", "Pablo", "Fernando",
            "Gustavo", "Martín", "Javier", "Ramón", "Pedro", "Antonio", "Julio", "Walter",
            "Osvaldo", "Ángel", "Víctor", "Francisco", "Néstor", "Rodolfo", "Enrique", "Gabriel",
            "Sebastián", "Matías", "Nicolás", "Juan José", "Ariel", "Manuel", "Omar", "Alfredo",
            "Hernán"]
TOP_FEMALE = ["María", "Ana", "Graciela", "Silvia", "Marta", "Norma", "Susana", "Mónica",
              "Beatriz", "Patricia", "Claudia", "Liliana", "Alicia", "Laura", "Rosa", "Mirta",
              "Adriana", "Gabriela", "Sandra", "Andrea", "Marcela", "Carolina", "Verónica",
              "María Elena", "Stella Maris", "Teresa", "María Cristina", "Mercedes", "Carmen",
              "Gladys", "Nélida", "Estela", "Isabel", "Alejandra", "Lorena", "Natalia", "Paula",
              "Romina", "Valeria", "Florencia", "Cecilia", "Daniela", "Mariana", "Lucía", "Sofía",
              "Camila", "Julieta", "Soledad", "María del Carmen", "Ana María"]
TOP_STREETS = ["San Martín", "Belgrano", "Rivadavia", "Sarmiento", "Mitre", "25 de Mayo",
               "9 de Julio", "M. Moreno", "Urquiza", "Alem", "Güemes", "Italia", "España",
               "Independencia", "Pueyrredón", "Lavalle", "Alte. Brown", "Alsina", "Colón",
               "Las Heras", "J.A. Roca", "H. Yrigoyen", "Saavedra", "Castelli", "Dorrego",
               "Maipú", "Sáenz Peña", "Avellaneda", "Entre Ríos", "Córdoba", "Santa Fe",
               "Mendoza", "Corrientes", "Tucumán", "Salta", "J.B. Alberdi", "Perón", "Eva Perón",
               "Libertad", "Constitución", "Laprida", "Lamadrid", "Balcarce", "Ituzaingó",
               "Chile", "Uruguay", "Paraguay", "Brasil", "Buenos Aires", "Libertador",
               "C. Pellegrini", "Vélez Sársfield", "Estrada", "Echeverría", "Ameghino", "Bolívar",
               "Ayacucho", "Suipacha", "Caseros", "Gral. Paz"]

# Spelling fixes to faker's lists; None drops the entry.
NAME_SPELLING = {"Beatríz": "Beatriz", "Cortéz": "Cortez", "Valdéz": "Valdez",
                 "Dalla": None}  # "Dalla" is only the first half of compound surnames
STREET_SPELLING = {"Scalabrini Ortíz": "Scalabrini Ortiz", "O\u2019Higgins": "O'Higgins",
                   "Libres del sud": "Libres del Sud",
                   "Diego A. Maradona": None}  # sports figures stay out of listings


def respell(values, fixes):
    out = []
    for v in values:
        v = fixes.get(v, v)
        if v is not None:
            out.append(v)
    if len(set(out)) != len(out):
        fail("duplicate after respelling")
    return out


def given_names(faker):
    rows = []
    for sex, key, top in (("f", "female_first_name", TOP_FEMALE), ("m", "male_first_name", TOP_MALE)):
        names = respell(faker["name"][key], NAME_SPELLING)
        for name, rank, weight in ranked(names, top, key):
            name = to_cp1252(name, "given_names")
            if name is not None:
                rows.append((name, sex, rank, weight))
    both = {r[0] for r in rows if r[1] == "f"} & {r[0] for r in rows if r[1] == "m"}
    if both:
        fail(f"names listed for both sexes: {sorted(both)}")
    rows.sort(key=lambda r: (r[1], r[2]))
    return rows


def simple_ranked(values, fixes, top, what):
    rows = []
    for v, rank, weight in ranked(respell(values, fixes), top, what):
        v = to_cp1252(v, what)
        if v is not None:
            rows.append((v, rank, weight))
    return sorted(rows, key=lambda r: r[1])


# Kinds taken from faker's address section; a repeated entry there is a weight.
PATTERN_KINDS = ["street_name", "street_prefix", "street_address", "building_number",
                 "secondary_address", "road_name", "road_prefix", "road_suffix", "postcode",
                 "full_address"]


def address_patterns(faker):
    rows = []
    for kind in PATTERN_KINDS:
        counts = defaultdict(int)
        for p in faker["address"][kind]:
            counts[p] += 1
        for p, n in counts.items():
            p = to_cp1252(p, "address_patterns")
            if p is not None:
                rows.append((kind, p, n))
    rows.sort(key=lambda r: (r[0], sort_key(r[1])))
    return rows


# ---------------------------------------------------------------- countries

# A few cities per country an Argentine directory would list, looked up by their
# libgeocoding description; the code comes from the table. Spanish display names are
# hand-written. A pinned code picks among several the table gives for the city.
CITIES = [
    ("UY", "Montevideo", "Montevideo", None), ("UY", "Salto", "Salto", None),
    ("UY", "Paysandu", "Paysandú", None), ("UY", "Colonia del Scaramento", "Colonia del Sacramento", None),
    ("UY", "Rivera", "Rivera", None),
    ("BR", "São Paulo - SP", "San Pablo", None), ("BR", "Rio de Janeiro - RJ", "Río de Janeiro", None),
    ("BR", "Porto Alegre - RS", "Porto Alegre", None), ("BR", "Florianópolis - SC", "Florianópolis", None),
    ("BR", "Curitiba - PR", "Curitiba", None), ("BR", "Foz do Iguaçu - PR", "Foz de Iguazú", None),
    ("BR", "Brasília - DF", "Brasilia", None), ("BR", "Belo Horizonte - MG", "Belo Horizonte", None),
    ("CL", "Santiago, Región Metropolitana", "Santiago", None), ("CL", "Valparaíso", "Valparaíso", None),
    ("CL", "Concepción, Biobío", "Concepción", None), ("CL", "Antofagasta", "Antofagasta", None),
    ("CL", "Temuco, Araucanía", "Temuco", None), ("CL", "Punta Arenas, Magallanes", "Punta Arenas", None),
    ("PY", "Concepcion", "Concepción", None), ("PY", "Pedro Juan Caballero", "Pedro Juan Caballero", None),
    ("PY", "Salto Del Guaira", "Salto del Guairá", None), ("PY", "Villa Hayes", "Villa Hayes", None),
    ("PE", "Lima/Callao", "Lima", None), ("PE", "Arequipa", "Arequipa", None), ("PE", "Cusco", "Cusco", None),
    ("ES", "Madrid", "Madrid", "91"), ("ES", "Barcelona", "Barcelona", "93"),
    ("ES", "Valencia", "Valencia", "963"), ("ES", "Sevilla", "Sevilla", "954"),
    ("ES", "Málaga", "Málaga", "952"), ("ES", "A Coruña", "La Coruña", None),
    ("IT", "Rome", "Roma", None), ("IT", "Milan", "Milán", None), ("IT", "Naples", "Nápoles", None),
    ("IT", "Turin", "Turín", None), ("IT", "Genoa", "Génova", None), ("IT", "Florence", "Florencia", None),
    ("IT", "Bologna", "Bolonia", None), ("IT", "Palermo", "Palermo", None), ("IT", "Venice", "Venecia", None),
    ("IT", "Bari", "Bari", None),
    ("US", "New York, NY", "Nueva York", None), ("US", "Los Angeles, CA", "Los Ángeles", None),
    ("US", "Chicago, IL", "Chicago", None), ("US", "Miami, FL", "Miami", None),
    ("US", "San Francisco, CA", "San Francisco", None), ("US", "Orlando, FL", "Orlando", None),
    ("CA", "Toronto, ON", "Toronto", None), ("CA", "Montreal, QC", "Montreal", "514"),
    ("CA", "Vancouver, BC", "Vancouver", None),
    ("MX", "Ciudad de México, CDMX", "Ciudad de México", None), ("MX", "Guadalajara, JAL", "Guadalajara", None),
    ("MX", "Monterrey, NL", "Monterrey", None),
    ("CO", "Bogotá", "Bogotá", None), ("CO", "Medellín", "Medellín", None), ("CO", "Cali", "Cali", None),
    ("CO", "Barranquilla", "Barranquilla", None),
    ("DE", "Berlin", "Berlín", None), ("DE", "Hamburg", "Hamburgo", None), ("DE", "Munich", "Múnich", None),
    ("DE", "Frankfurt am Main", "Fráncfort", None), ("DE", "Cologne", "Colonia", None),
    ("FR", "Paris", "París", None), ("FR", "Marseille", "Marsella", None), ("FR", "Lyon", "Lyon", None),
    ("FR", "Nice", "Niza", None), ("FR", "Bordeaux", "Burdeos", None),
    ("GB", "London", "Londres", None), ("GB", "Manchester", "Manchester", None),
    ("GB", "Birmingham", "Birmingham", None), ("GB", "Liverpool", "Liverpool", None),
    ("GB", "Edinburgh", "Edimburgo", None), ("GB", "Glasgow", "Glasgow", None),
    ("PT", "Lisbon", "Lisboa", None), ("PT", "Porto", "Oporto", None),
    ("CH", "Zurich", "Zúrich", "44"), ("CH", "Geneva", "Ginebra", None),
    ("AT", "Vienna", "Viena", None), ("BE", "Brussels", "Bruselas", None), ("NL", "Amsterdam", "Ámsterdam", None),
    ("IL", "Jerusalem", "Jerusalén", None), ("IL", "Tel Aviv", "Tel Aviv", None),
    ("JP", "Tokyo", "Tokio", None), ("CN", "Beijing", "Pekín", None), ("CN", "Shanghai", "Shanghái", None),
    ("AU", "Sydney", "Sídney", None), ("AU", "Melbourne", "Melbourne", None),
    ("RU", "Moscow", "Moscú", None),
]


def city_code(rows, desc, pinned, where):
    """Area code for a city from its table rows. A code libphonenumber makes longer than the
    geocoding prefix depends on the filler digits (8-digit plans without area codes, e.g.
    Uruguay, Spain), so the prefix itself is used then. Preference: a code that is a
    prefix of its own, shortest, most rows, lowest."""
    codes = defaultdict(lambda: [0, False])
    for prefix, d, ndc, valid, _ in rows:
        if d != desc or valid != "1" or not ndc:
            continue
        code = prefix if len(ndc) > len(prefix) else ndc
        codes[code][0] += 1
        codes[code][1] |= prefix == code
    if not codes:
        fail(f"{where}: no valid row for {desc!r}")
        return None
    if pinned:
        if pinned not in codes:
            fail(f"{where}: pinned code {pinned} not among {sorted(codes)} for {desc!r}")
            return None
        return pinned
    return min(codes, key=lambda c: (not codes[c][1], len(c), -codes[c][0], c))


def countries(exe):
    regions = phonedump(exe, "countries")
    calling = {r: cc for r, cc, _ in regions}
    tables = {}
    cities = defaultdict(list)
    for region, desc, display, pinned in CITIES:
        cc = calling[region]
        if cc not in tables:
            tables[cc] = phonedump(exe, "table", cc)
        code = city_code(tables[cc], desc, pinned, f"{region} ({cc})")
        if code is not None:
            if ":" in display or "|" in display:
                fail(f"separator in city name {display!r}")
            cities[region].append(f"{display}:{code}")
    rows = []
    for region, cc, name in regions:
        name = to_cp1252(name, "countries")
        if name is None:
            continue
        rows.append((region, cc, name, to_cp1252("|".join(cities.get(region, [])), "countries")))
    rows.sort(key=lambda r: r[0])
    if len(rows) < 240:
        fail(f"only {len(rows)} countries")
    return rows


# ---------------------------------------------------------- curated tables

RUBRO_HEADER = ["rubro", "guide", "see_also", "redirect_to"]
RUBRO_CHARS = set("ABCDEFGHIJKLMNOPQRSTUVWXYZÑ -.")


def check_rubros(path):
    header, rows = read_tsv(path)
    if header != RUBRO_HEADER:
        fail(f"rubros.tsv header {header}")
        return rows
    by_name = {}
    for r in rows:
        if r[0] in by_name:
            fail(f"rubro {r[0]!r} twice")
        by_name[r[0]] = r
    real = [r for r in rows if not r[3]]
    if not 200 <= len(real) <= 300:
        fail(f"{len(real)} rubros, want 200-300")
    for name, guide, see, target in rows:
        if not set(name) <= RUBRO_CHARS:
            fail(f"rubro {name!r}: only upper case, Ñ, space, '-' and '.'")
        if guide not in ("C", "P", "B"):
            fail(f"rubro {name!r}: guide {guide!r}")
        if target:
            t = by_name.get(target)
            if t is None or t[3]:
                fail(f"redirect {name!r} -> {target!r} does not reach a real rubro")
            elif guide != t[1]:
                fail(f"redirect {name!r}: guide {guide} differs from its target's {t[1]}")
            if see:
                fail(f"redirect {name!r} has see-also entries")
        refs = see.split("|") if see else []
        if len(refs) > 5 or len(set(refs)) != len(refs):
            fail(f"rubro {name!r}: up to 5 distinct see-also entries")
        for ref in refs:
            if ref == name or ref not in by_name or by_name[ref][3]:
                fail(f"rubro {name!r}: see-also {ref!r} is not another real rubro")
    return sorted(rows, key=lambda r: sort_key(r[0]))


COMPANY_HEADER = ["kind", "word", "weight"]


def check_company_words(path):
    header, rows = read_tsv(path)
    if header != COMPANY_HEADER:
        fail(f"company_words.tsv header {header}")
        return rows
    seen = set()
    for kind, word, weight in rows:
        if kind not in ("head", "place", "fantasy", "suffix"):
            fail(f"company word {word!r}: kind {kind!r}")
        if not weight.isdigit() or int(weight) < 1:
            fail(f"company word {word!r}: weight {weight!r}")
        if (kind, word) in seen or word != word.upper():
            fail(f"company word {word!r}: duplicate or not upper case")
        seen.add((kind, word))
    return sorted(rows, key=lambda r: (r[0], sort_key(r[1])))


def rewrite_curated(out_dir, name, header, rows):
    for r in rows:
        for c in r:
            if to_cp1252(c, name) != c:
                fail(f"{name}: {c!r} is not Windows-1252")
    write_tsv(out_dir, name, header, rows)


# --------------------------------------------------------------------- main

def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--phonedump", required=True)
    ap.add_argument("--out", required=True, type=Path)
    args = ap.parse_args()
    out = args.out
    faker = yaml.safe_load(FAKER_YML.read_text(encoding="utf-8"))["es-AR"]["faker"]

    prov = provinces(faker)
    tables = {
        "provinces.tsv": (["code", "name", "type", "abbr", "postcode_pattern"], prov),
        "localities.tsv": (["locality", "province_code", "area_code", "local_number_length",
                            "weight", "subscriber_prefixes"], localities(args.phonedump, prov)),
        "given_names.tsv": (["name", "sex", "rank", "weight"], given_names(faker)),
        "surnames.tsv": (["surname", "rank", "weight"],
                         simple_ranked(faker["name"]["last_name"], NAME_SPELLING, TOP_SURNAMES, "surnames")),
        "streets.tsv": (["street", "rank", "weight"],
                        simple_ranked(faker["address"]["street"], STREET_SPELLING, TOP_STREETS, "streets")),
        "address_patterns.tsv": (["kind", "pattern", "weight"], address_patterns(faker)),
        "countries.tsv": (["iso_code", "calling_code", "name", "cities"], countries(args.phonedump)),
    }
    rubros = check_rubros(out / "rubros.tsv")
    company = check_company_words(out / "company_words.tsv")
    if problems:
        print("extraction failed:\n  " + "\n  ".join(problems), file=sys.stderr)
        return 1
    for name, (header, rows) in tables.items():
        write_tsv(out, name, header, rows)
    rewrite_curated(out, "rubros.tsv", RUBRO_HEADER, rubros)
    rewrite_curated(out, "company_words.tsv", COMPANY_HEADER, company)
    for where, orig, repl in transliterated:
        print(f"cp1252: {where}: {orig!r} -> {repl!r}", file=sys.stderr)
    total = sum(p.stat().st_size for p in out.glob("*.tsv"))
    print(f"total: {total} bytes")
    if problems or total > MAX_TOTAL_BYTES:
        print("extraction failed:\n  " + "\n  ".join(problems or ["seeds exceed 1 MB"]), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
