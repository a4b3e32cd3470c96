<!DOCTYPE html>
<html lang="fr">
<head>
  <meta charset="utf-8">
  <title>Index de l'aide de Quorvane</title>
  <link rel="stylesheet" href="style.css">
</head>
<body class="navigation">
  <p class="onglets"><a href="sommaire.html">Sommaire</a> <strong>Index</strong></p>
  <h1>Mots clés</h1>
</body>
</html>
