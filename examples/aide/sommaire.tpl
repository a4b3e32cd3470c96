<!DOCTYPE html>
<html lang="fr">
<head>
  <meta charset="utf-8">
  <title>Sommaire de l'aide de Quorvane</title>
  <link rel="stylesheet" href="style.css">
</head>
<body class="navigation">
  <p class="onglets"><strong>Sommaire</strong> <a href="motscles.html">Index</a></p>
  <h1>Sommaire</h1>
  <!-- <template target="main" /> -->
  <script>
  // Collapsible contents: every entry with sub-entries gets a button that
  // folds them away, and the entry of the page shown in the "main" frame is
  // marked with aria-current. Without scripts the whole tree stays open.
  (() => {
    const tree = document.querySelector('body > ul');
    if (!tree) return;
    tree.classList.add('arbre');

    const toggleOf = (item) => item.querySelector(':scope > button');
    function setOpen(item, open) {
      const toggle = toggleOf(item);
      if (!toggle) return;
      item.classList.toggle('replie', !open);
      toggle.setAttribute('aria-expanded', String(open));
      toggle.title = open ? 'Replier' : 'D\u00e9plier';
    }

    for (const item of tree.querySelectorAll('li')) {
      const link = item.querySelector(':scope > a');
      if (!link || !item.querySelector(':scope > ul')) continue;
      const toggle = document.createElement('button');
      toggle.type = 'button';
      toggle.className = 'bascule';
      toggle.setAttribute('aria-label', link.textContent);
      item.prepend(toggle);
      setOpen(item, true);
    }

    let current = null;
    // Marks the link and opens the entries above it, so that it can be seen.
    function mark(link) {
      if (current) current.removeAttribute('aria-current');
      current = link;
      link.setAttribute('aria-current', 'page');
      for (let item = link.parentElement.parentElement; item !== tree; item = item.parentElement) {
        if (item.tagName === 'LI') setOpen(item, true);
      }
      link.scrollIntoView({ block: 'nearest' });
    }

    tree.addEventListener('click', (event) => {
      const toggle = event.target.closest('button');
      const link = event.target.closest('a');
      if (toggle) {
        setOpen(toggle.parentElement, toggle.parentElement.classList.contains('replie'));
      } else if (link) {
        // Opening an entry shows its sub-entries too.
        setOpen(link.parentElement, true);
        mark(link);
      }
    });

    // Follows the main frame when the browser lets this page see it: same
    // origin only, which pages opened from files in Chromium are not.
    const links = [...tree.querySelectorAll('a')];
    function follow() {
      let address;
      try {
        address = parent.frames.main.location.href;
      } catch (error) {
        return;
      }
      const page = address.split('#')[0];
      const found = links.find((link) => link.href === address)
        ?? links.find((link) => link.href.split('#')[0] === page);
      if (found && found !== current) mark(found);
    }
    let frame = null;
    try {
      frame = parent !== window ? parent.document.getElementsByName('main')[0] : null;
    } catch (error) {
      // Another origin: entries are marked when they are clicked.
    }
    if (frame) {
      const watch = () => {
        follow();
        try {
          frame.contentWindow.addEventListener('hashchange', follow);
        } catch (error) {
          // The main frame went to another origin.
        }
      };
      frame.addEventListener('load', watch);
      watch();
    }
  })();
  </script>
</body>
</html>
