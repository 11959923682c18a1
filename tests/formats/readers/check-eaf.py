"""Checks the structure of an EAF file beyond its being well-formed XML.

    python3 check-eaf.py FILE.eaf

Prints one line per problem and exits with 1 when there is any; otherwise
prints the tiers, "TIER_ID PARENT PARTICIPANT COUNT", and each annotation,
"start<TAB>end<TAB>text" (ms), as ELAN would show them.
"""
import sys
import xml.etree.ElementTree as ET

root = ET.parse(sys.argv[1]).getroot()
problems = []

slots = {}
last = -1
for slot in root.find("TIME_ORDER"):
    value = int(slot.get("TIME_VALUE"))
    if value <= last:
        problems.append(f"slot {slot.get('TIME_SLOT_ID')} at {value} does not follow {last}")
    last = value
    slots[slot.get("TIME_SLOT_ID")] = value

types = {t.get("LINGUISTIC_TYPE_ID"): t for t in root.findall("LINGUISTIC_TYPE")}
stereotypes = {c.get("STEREOTYPE") for c in root.findall("CONSTRAINT")}
tiers = {t.get("TIER_ID"): t for t in root.findall("TIER")}
ids = set()
spans = {}
for tier_id, tier in tiers.items():
    kind = tier.get("LINGUISTIC_TYPE_REF")
    if kind not in types:
        problems.append(f"tier {tier_id}: type {kind} is not defined")
    elif types[kind].get("CONSTRAINTS") and types[kind].get("CONSTRAINTS") not in stereotypes:
        problems.append(f"type {kind}: constraint is not defined")
    parent = tier.get("PARENT_REF")
    if parent is not None and parent not in tiers:
        problems.append(f"tier {tier_id}: parent {parent} is not defined")
    spans[tier_id] = []
    end = -1
    for a in tier.iter("ALIGNABLE_ANNOTATION"):
        aid = a.get("ANNOTATION_ID")
        if aid in ids:
            problems.append(f"annotation {aid} twice")
        ids.add(aid)
        refs = [a.get("TIME_SLOT_REF1"), a.get("TIME_SLOT_REF2")]
        if any(r not in slots for r in refs):
            problems.append(f"annotation {aid}: slot {refs} is not defined")
            continue
        start, stop = slots[refs[0]], slots[refs[1]]
        if stop <= start or start < end:
            problems.append(f"annotation {aid}: {start}-{stop} after {end}")
        end = stop
        spans[tier_id].append((start, stop, a.findtext("ANNOTATION_VALUE")))

for tier_id, tier in tiers.items():
    parent = tier.get("PARENT_REF")
    if parent in spans:
        for start, stop, _ in spans[tier_id]:
            if not any(s <= start and stop <= e for s, e, _ in spans[parent]):
                problems.append(f"tier {tier_id}: {start}-{stop} lies in no annotation of {parent}")

last_id = root.find("HEADER/PROPERTY[@NAME='lastUsedAnnotationId']")
if last_id is None or int(last_id.text) != len(ids):
    problems.append("lastUsedAnnotationId is not the number of annotations")

if problems:
    print("\n".join(problems))
    sys.exit(1)
media = root.find("HEADER/MEDIA_DESCRIPTOR")
print("media", media.get("MEDIA_URL"), media.get("RELATIVE_MEDIA_URL"))
for tier_id, tier in tiers.items():
    print("tier", tier_id, tier.get("PARENT_REF") or "-", tier.get("PARTICIPANT") or "-", len(spans[tier_id]))
    for start, stop, text in spans[tier_id]:
        print(f"{start}\t{stop}\t{text or ''}")
