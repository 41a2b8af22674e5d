// Writes the icon font's glyph map (glyph name -> code point) from the font package's selection.json.
// Usage: node phosphor-glyph-map.mjs <selection.json> <output.json>
import { readFileSync, writeFileSync } from "node:fs";

const [selectionPath, outputPath] = process.argv.slice(2);
if (!selectionPath || !outputPath) {
    console.error("usage: phosphor-glyph-map.mjs <selection.json> <output.json>");
    process.exit(2);
}

const selection = JSON.parse(readFileSync(selectionPath, "utf8"));
const codes = new Map();
for (const icon of selection.icons ?? []) {
    const { name, code } = icon.properties ?? {};
    if (typeof name !== "string" || !Number.isInteger(code))
        continue;
    // A renamed icon keeps its old name as an alias: "folder-fill, folder-notch-fill".
    for (const alias of name.split(",")) {
        const glyph = alias.trim().replace(/-fill$/, "");
        if (glyph !== "")
            codes.set(glyph, code);
    }
}
if (codes.size === 0) {
    console.error(`phosphor-glyph-map: no icons in ${selectionPath}`);
    process.exit(1);
}

const sorted = [...codes.keys()].sort();
const lines = sorted.map((glyph) => `  ${JSON.stringify(glyph)}: ${codes.get(glyph)}`);
writeFileSync(outputPath, `{\n${lines.join(",\n")}\n}\n`);
