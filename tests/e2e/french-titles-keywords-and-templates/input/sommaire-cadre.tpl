<!DOCTYPE html>
<html lang="fr">
<head><meta charset="utf-8"><title>Table des matières</title></head>
<body>
<nav>
	<!-- <template target="droite" /> -->
</nav>
</body>
</html>
