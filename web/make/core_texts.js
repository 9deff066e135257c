// Prints, as JSON, every text the core module gives the page to show, for
// the font subsets:  node core_texts.js CORE.js OUTPUT.json
// { "helpLines": [...], "others": [...] }, as the help has a face of its own.
"use strict";
const fs = require("fs");
const path = require("path");

const TorvikanCore = require(path.resolve(process.argv[2]));
TorvikanCore().then((core) => {
    const texts = {
        helpLines: core.helpLines(),
        others: [core.quitQuestion(), core.messageTitle(), ...core.faultMessages(), ...core.axisLabels()],
    };
    fs.writeFileSync(process.argv[3], JSON.stringify(texts, null, 1) + "\n");
});
