<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01 Frameset//EN" "http://www.w3.org/TR/html4/frameset.dtd">
<html lang="fr">
<head>
  <meta charset="utf-8">
  <title>Aide de Quorvane</title>
  <script>
  // Context-sensitive help: index.html?ctx=1001 or index.html?ctx=IDH_ENREGISTRER
  // opens the page of that context in the "main" frame, as the help compiler's
  // [MAP] and [ALIAS] would. quorvane writes the map from the pages' ctx
  // attributes and the numbers of contextes.h. The frameset is written here,
  // with that page in "main", so that the default page is never loaded in
  // vain; the frameset below then counts for nothing. An unknown context, or
  // none, leaves the frameset below and its default page.
  (() => {
    const contextes = <!-- <template target="contexte" /> -->;
    const asked = (new URLSearchParams(location.search).get('ctx') ?? '').trim();
    // Numbers are looked up in decimal: "01001" is 1001.
    const key = /^[0-9]+$/.test(asked) ? String(Number(asked)) : asked;
    if (!Object.prototype.hasOwnProperty.call(contextes, key)) return;
    const attribute = (text) => text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');
    document.write('<frameset cols="28%,*">'
      + '<frame name="navigation" src="sommaire.html" title="Sommaire et index">'
      + `<frame name="main" src="${attribute(contextes[key])}" title="Page d'aide">`
      + '</frameset>');
  })();
  </script>
</head>
<frameset cols="28%,*">
  <frame name="navigation" src="sommaire.html" title="Sommaire et index">
  <frame name="main" src="pages/introduction.html" title="Page d'aide">
  <noframes>
    <body>
      <p>Votre navigateur n'affiche pas les cadres. Ouvrez le
      <a href="sommaire.html">sommaire</a>, l'<a href="motscles.html">index</a>
      ou directement l'<a href="pages/introduction.html">introduction</a>.</p>
    </body>
  </noframes>
</frameset>
</html>
