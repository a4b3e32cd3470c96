<html>
<head><meta charset="utf-8"><title>Index</title></head>
<body>
  <!-- <template /> -->
</body>
</html>
