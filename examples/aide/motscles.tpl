<!DOCTYPE html>
<html lang="fr">
<head>
  <meta charset="utf-8">
  <title>Index de l'aide de Quorvane</title>
  <link rel="stylesheet" href="style.css">
</head>
<body class="navigation">
  <p class="onglets"><a href="sommaire.html">Sommaire</a> <strong>Index</strong></p>
  <h1>Mots cl&eacute;s</h1>
  <!-- <template target="main" /> -->
  <script>
  // A box above the index that keeps only the keywords containing what is
  // typed, whatever the case, the accents, the apostrophe's form (curly or
  // straight) and the ligatures (oe and ae as one letter or two); a group
  // stays shown when one of its keywords matches, and all of a matching
  // entry's sub-entries stay shown. Enter opens the first keyword shown.
  // Without scripts there is no box and the whole index shows.
  (() => {
    const index = document.querySelector('body > ul');
    if (!index) return;
    // Typographic apostrophes and quotes become the keyboard's ' and the
    // ligatures their two letters, which NFD leaves as they are.
    const plain = { '\u2018': "'", '\u2019': "'", '`': "'", '\u00b4': "'", '\u0153': 'oe', '\u00e6': 'ae' };
    const fold = (text) => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase()
      .replace(/[\u2018\u2019`\u00b4\u0153\u00e6]/g, (c) => plain[c]);
    const entries = [...index.querySelectorAll('li')].map((item) => {
      const label = item.querySelector(':scope > a, :scope > span');
      return { item, text: fold(label ? label.textContent : '') };
    });
    const byItem = new Map(entries.map((entry) => [entry.item, entry]));

    const box = document.createElement('p');
    box.className = 'filtre';
    box.innerHTML = '<input type="search" autocomplete="off" spellcheck="false"'
      + ' placeholder="Filtrer les mots cl\u00e9s" aria-label="Filtrer les mots cl\u00e9s">'
      + '<output aria-live="polite"></output>';
    index.before(box);
    const input = box.querySelector('input');
    const count = box.querySelector('output');

    // Shows the entries of a list that match, or sit under a match, or hold
    // one; tells whether any entry of the list is shown.
    function filter(list, words, underMatch) {
      let any = false;
      for (const item of list.children) {
        const entry = byItem.get(item);
        if (!entry) continue;
        const matches = underMatch || entry.text.includes(words);
        const sub = item.querySelector(':scope > ul');
        const holds = sub ? filter(sub, words, matches) : false;
        item.hidden = !(matches || holds);
        any = any || !item.hidden;
      }
      return any;
    }

    function apply() {
      const words = fold(input.value.trim());
      filter(index, words, false);
      const shown = entries.filter((entry) => !entry.item.hidden).length;
      count.value = words === '' ? ''
        : shown === 0 ? 'Aucun mot cl\u00e9 ne correspond'
        : shown + (shown === 1 ? ' entr\u00e9e' : ' entr\u00e9es') + ' sur ' + entries.length;
    }

    input.addEventListener('input', apply);
    input.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      const first = entries.find((entry) => !entry.item.hidden && entry.item.querySelector(':scope > a'));
      if (first) first.item.querySelector(':scope > a').click();
    });
    apply();
  })();
  </script>
</body>
</html>
