<html>
<head><meta charset="utf-8"><title>Sommaire</title></head>
<body>
  <!-- <template /> -->
</body>
</html>
