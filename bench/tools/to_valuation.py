#!/usr/bin/env python3
"""Turns a generated land-management exchange file into a valuation-shaped one for the map.

The metric block (points and polylines) stays as it is. The valued plot takes the contour of
the first parcel, every parcel becomes a valuation district with its own contour, one
natural-agricultural district with one agro group takes the first parcel's contour too, and the
cadastral quarter's contour (when there is one) becomes the territorial zone. The map view then
draws every parcel of the file.

    to_valuation.py IN.xml OUT.xml
"""
import copy
import sys
import xml.etree.ElementTree as ET


def child(parent, name):
    node = parent.find(name)
    if node is None:
        node = ET.SubElement(parent, name)
    return node


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    tree = ET.parse(sys.argv[1])
    root = tree.getroot()
    info = root.find("InfoPart")
    parcels = info.findall("CadastralZoneInfo/CadastralQuarters/CadastralQuarterInfo/Parcels/ParcelInfo")
    if not parcels:
        sys.exit("no ParcelInfo in " + sys.argv[1])
    zone = child(info, "TerritorialZoneInfo")
    quarter = info.find("CadastralZoneInfo/CadastralQuarters/CadastralQuarterInfo/Externals")
    if quarter is not None:
        zone.append(copy.deepcopy(quarter))
    valuation = child(child(child(zone, "Objects"), "Lands"), "NormativValuation")
    valuation.append(copy.deepcopy(parcels[0].find("ParcelMetricInfo/Externals")))
    districts = child(valuation, "ValuationDistricts")
    for parcel in parcels:
        district = ET.SubElement(districts, "ValuationDistrict")
        district.append(copy.deepcopy(parcel.find("ParcelMetricInfo/Externals")))
    # One natural-agricultural district with one agro group, both on the plot's contour.
    natural = ET.SubElement(valuation, "NaturalAgriculturalsDistrict")
    natural.append(copy.deepcopy(parcels[0].find("ParcelMetricInfo/Externals")))
    agro = ET.SubElement(ET.SubElement(natural, "AgroGroups"), "AgroGroup")
    agro.append(copy.deepcopy(parcels[0].find("ParcelMetricInfo/Externals")))
    ET.indent(tree)
    tree.write(sys.argv[2], encoding="utf-8", xml_declaration=True)


if __name__ == "__main__":
    main()
