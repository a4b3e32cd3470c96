<!DOCTYPE html>
<html lang="fr">
<head><meta charset="utf-8"><title>Index</title></head>
<body>
<div class="index">
  <!-- <template target="droite" /> -->
</div>
</body>
</html>
