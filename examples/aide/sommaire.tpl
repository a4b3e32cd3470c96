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
</body>
</html>
